#include "tasks/runningtask.h"

#include <array>
#include <utility>

QString RunningTask::agentIcon(QStringView name)
{
    static constexpr std::array<std::pair<const char16_t *, const char16_t *>, 4> rules = {{
        {u"claude", u"brain.head.profile"},
        {u"cursor", u"cursorarrow.motionlines"},
        {u"copilot", u"airplane"},
        {u"chatgpt", u"bubble.left.fill"},
    }};
    const QString lower = name.toString().toLower();
    for (const auto &[part, symbol] : rules) {
        if (lower.contains(QStringView(part)))
            return QString::fromUtf16(symbol);
    }
    return QStringLiteral("cpu");
}

QVariant RunningTask::progressValue() const
{
    return progress ? QVariant(*progress) : QVariant();
}

bool RunningTask::isSameWork(const RunningTask &other) const
{
    return name == other.name && displayName == other.displayName && isGUIApp == other.isGUIApp &&
           category == other.category && progress == other.progress;
}
