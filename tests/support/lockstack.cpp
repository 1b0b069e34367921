#include "support/lockstack.h"

#include "core/preferencekeys.h"

LockStack::LockStack(const QString &pin)
    : defaults(dir.filePath(QStringLiteral("defaults.json")))
    , keepAwake(assertions)
    , pins(defaults, reader)
    , themes(defaults)
    , tasks(processes, windows, QStringList())
    , overlay({keepAwake, pins, defaults, guard, sounds, crashGuard, themes,
               [this]() -> ProcessMonitor & { return tasks; }, animations, capture, qml})
{
    if (!pin.isEmpty())
        defaults.setString(PreferenceKey::storedPIN, PINManager::encodePIN(pin));
    qml.add(defaults);
    qml.add(pins);
    qml.add(themes);
    qml.add(capture);
    qml.add(tasks);
    qml.add(overlay);
    log.follow(overlay);
    log.follow(keepAwake);
}

LockStack::~LockStack() = default;
