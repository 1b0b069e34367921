#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// What kind of work a running task is. The raw value is also the label the
// lock screen shows.
enum class TaskCategory {
    AIAgent, // "AI Agent"
    Build,   // "Build"
    DevTool, // "Dev Tool"
    App,     // "App"
    System,  // "System": never assigned by the monitor
};

[[nodiscard]] QString rawValue(TaskCategory category);
// Exact and case-sensitive: "ai agent" is no category.
[[nodiscard]] std::optional<TaskCategory> taskCategoryFromRawValue(QStringView raw);
// The order of the task list: AI agents, builds, developer tools, apps, and
// 99 for anything else.
[[nodiscard]] int sortRank(TaskCategory category);
