#include "tasks/taskcategory.h"

#include <array>
#include <utility>

namespace {
constexpr std::array<std::pair<TaskCategory, const char16_t *>, 5> rawValues = {{
    {TaskCategory::AIAgent, u"AI Agent"},
    {TaskCategory::Build, u"Build"},
    {TaskCategory::DevTool, u"Dev Tool"},
    {TaskCategory::App, u"App"},
    {TaskCategory::System, u"System"},
}};
} // namespace

QString rawValue(TaskCategory category)
{
    for (const auto &[value, text] : rawValues) {
        if (value == category)
            return QString::fromUtf16(text);
    }
    return {};
}

std::optional<TaskCategory> taskCategoryFromRawValue(QStringView raw)
{
    for (const auto &[value, text] : rawValues) {
        if (raw == QStringView(text))
            return value;
    }
    return std::nullopt;
}

int sortRank(TaskCategory category)
{
    switch (category) {
    case TaskCategory::AIAgent:
        return 0;
    case TaskCategory::Build:
        return 1;
    case TaskCategory::DevTool:
        return 2;
    case TaskCategory::App:
        return 3;
    case TaskCategory::System:
        break;
    }
    return 99;
}
