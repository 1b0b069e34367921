#include "tasks/processtables.h"

namespace ProcessTables {

const QHash<QString, QString> &aiProcesses()
{
    static const QHash<QString, QString> table = {
        {QStringLiteral("claude"), QStringLiteral("Claude Code — agent running")},
        {QStringLiteral("cursor helper"), QStringLiteral("Cursor Agent — working")},
        {QStringLiteral("copilot"), QStringLiteral("GitHub Copilot — active")},
        {QStringLiteral("aider"), QStringLiteral("Aider — coding")},
        {QStringLiteral("continue"), QStringLiteral("Continue.dev — active")},
        {QStringLiteral("cody"), QStringLiteral("Sourcegraph Cody — active")},
        {QStringLiteral("tabby"), QStringLiteral("Tabby — serving")},
    };
    return table;
}

const QHash<QString, QString> &aiApplications()
{
    static const QHash<QString, QString> table = {
        {QStringLiteral("Cursor"), QStringLiteral("Cursor — IDE active")},
        {QStringLiteral("Claude"), QStringLiteral("Claude — desktop app")},
        {QStringLiteral("ChatGPT"), QStringLiteral("ChatGPT — desktop app")},
    };
    return table;
}

const QSet<QString> &buildProcesses()
{
    static const QSet<QString> table = {
        QStringLiteral("xcodebuild"), QStringLiteral("swift"), QStringLiteral("cargo"),
        QStringLiteral("rustc"),      QStringLiteral("go"),    QStringLiteral("gcc"),
        QStringLiteral("clang"),      QStringLiteral("make"),  QStringLiteral("cmake"),
        QStringLiteral("gradle"),     QStringLiteral("mvn"),   QStringLiteral("javac"),
    };
    return table;
}

const QSet<QString> &devToolProcesses()
{
    static const QSet<QString> table = {
        QStringLiteral("node"),    QStringLiteral("npm"),     QStringLiteral("npx"),
        QStringLiteral("python"),  QStringLiteral("python3"), QStringLiteral("ffmpeg"),
        QStringLiteral("webpack"), QStringLiteral("docker"),  QStringLiteral("brew"),
        QStringLiteral("pip"),     QStringLiteral("yarn"),    QStringLiteral("pnpm"),
        QStringLiteral("ruby"),    QStringLiteral("java"),    QStringLiteral("git"),
    };
    return table;
}

const QSet<QString> &ignoredApplications()
{
    static const QSet<QString> table = {
        QStringLiteral("Finder"),
        QStringLiteral("Dock"),
        QStringLiteral("SystemUIServer"),
        QStringLiteral("loginwindow"),
        QStringLiteral("WindowManager"),
        QStringLiteral("Control Center"),
        QStringLiteral("Notification Center"),
        QStringLiteral("AirPlayUIAgent"),
        QStringLiteral("TextInputMenuAgent"),
        QStringLiteral("CoreServicesUIAgent"),
        QStringLiteral("Spotlight"),
        QStringLiteral("universalAccessAuthWarn"),
        QStringLiteral("Vostrel"),
    };
    return table;
}

const QSet<QString> &progressTools()
{
    static const QSet<QString> table = {
        QStringLiteral("ffmpeg"), QStringLiteral("npm"),     QStringLiteral("xcodebuild"),
        QStringLiteral("cargo"),  QStringLiteral("webpack"),
    };
    return table;
}

} // namespace ProcessTables
