#pragma once

#include <QString>
#include <QStringList>

// The `vostrel` command line: start the application, send it an automation
// request, or edit the preferences file.
class CommandLine
{
public:
    enum class Action {
        StartApplication,
        Help,
        Version,
        Automation,
        DefaultsRead,
        DefaultsWrite,
        DefaultsDelete,
        UsageError,
    };

    enum ExitCode { Success = 0, Refused = 1, UsageFailure = 2, NotRunning = 3 };

    static CommandLine parse(const QStringList &arguments);

    [[nodiscard]] Action action() const { return m_action; }
    [[nodiscard]] bool isWindowed() const { return m_windowed; }
    // Started by vostrel-guard after a crash: raise the lock at once.
    [[nodiscard]] bool isRelock() const { return m_relock; }
    // Started on demand (D-Bus activation, the systemd unit): no window.
    [[nodiscard]] bool isBackground() const { return m_background; }
    [[nodiscard]] QString error() const { return m_error; }

    // Runs everything but StartApplication; needs a QCoreApplication.
    [[nodiscard]] int execute() const;

    [[nodiscard]] static QString helpText();

private:
    [[nodiscard]] int executeAutomation() const;
    [[nodiscard]] int executeDefaults() const;

    Action m_action = Action::StartApplication;
    bool m_windowed = false;
    bool m_relock = false;
    bool m_background = false;
    QString m_error;
    QString m_method;     // D-Bus method for Automation
    QStringList m_values; // positional values after the command
    QString m_valueType;  // --bool, --int ... for defaults write
};
