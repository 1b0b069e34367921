#pragma once

#include <QObject>
#include <qqmlregistration.h>
#include <QString>
#include <QStringView>

#include <optional>

namespace TaskCategories {
Q_NAMESPACE
QML_NAMED_ELEMENT(TaskCategory)

// What kind of work a running task is. Views key their look on the value,
// never on the raw value, which is a label and may be translated.
enum class TaskCategory {
    AIAgent, // "AI Agent"
    Build,   // "Build"
    DevTool, // "Dev Tool"
    App,     // "App"
    System,  // "System": never assigned by the monitor
};
Q_ENUM_NS(TaskCategory)
} // namespace TaskCategories

using TaskCategory = TaskCategories::TaskCategory;

[[nodiscard]] QString rawValue(TaskCategory category);
// Exact and case-sensitive: "ai agent" is no category.
[[nodiscard]] std::optional<TaskCategory> taskCategoryFromRawValue(QStringView raw);
// The order of the task list: AI agents, builds, developer tools, apps, and
// 99 for anything else.
[[nodiscard]] int sortRank(TaskCategory category);
