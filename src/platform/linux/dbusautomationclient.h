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
    };

    // `method` is one of LockScreen, UnlockScreen, KeepAwake, StopKeepAwake,
    // GetStatus; or Activate to bring the running instance forward.
    [[nodiscard]] static Reply call(const QString &method, const QVariantList &arguments = {});
};
