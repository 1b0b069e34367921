#pragma once

#include <QString>
#include <QVariant>

// Sends one automation request to the running application.
class DBusAutomationClient
{
public:
    struct Reply
    {
        bool delivered = false; // false: no instance answered
        QVariant value;
        QString error;
        // The application answered and declined (no PIN, a session it
        // cannot lock ...); `error` says why.
        bool refused = false;
    };

    enum class Start {
        // Only an instance that runs already answers. The application itself
        // asks this way whether it is the first instance: were the bus to
        // start Vostrel for that question, the new process would wait on its
        // own start.
        Never,
        // The session bus starts the installed application when it is not
        // running (D-Bus activation), as a keyboard shortcut expects.
        IfNotRunning,
    };

    // `method` is one of LockScreen, UnlockScreen, KeepAwake, StopKeepAwake,
    // GetStatus; or Activate to bring the running instance forward.
    // Registers Qt's own D-Bus types on this thread, before the bus thread
    // needs them. call() does it; so does the application, whose first
    // step is a call() to find a running instance.
    static void registerTypes();

    [[nodiscard]] static Reply call(const QString &method, const QVariantList &arguments = {},
                                    Start start = Start::Never);
};
