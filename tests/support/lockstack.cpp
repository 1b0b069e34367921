#include "support/lockstack.h"

#include "core/preferencekeys.h"

LockStack::LockStack(const QString &pin)
    : defaults(dir.filePath(QStringLiteral("defaults.json")))
    , keepAwake(assertions, notifications)
    , pins(defaults, reader)
    , themes(defaults)
    , tasks(processes, windows, QStringList())
    , overlay({keepAwake, pins, defaults, notifications, guard, sounds, crashGuard, themes,
               [this]() -> ProcessMonitor & { return tasks; }, animations, capture})
{
    if (!pin.isEmpty())
        defaults.setString(PreferenceKey::storedPIN, PINManager::encodePIN(pin));
    QObject::connect(&notifications, &NotificationCenter::posted, &notifications,
                     [this](const QString &name) { posted << name; });
}

LockStack::~LockStack() = default;
