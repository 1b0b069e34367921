#include "settings/settingsstack.h"

SettingsStack::SettingsStack()
    : LockStack(QString())
    , target([this] { return overlay.isOverlayActive(); }, [this] { overlay.lock(); })
    , hotkey(defaults, grabber)
    , schedule(defaults, target)
    , calendar(calendars, defaults, target)
    , focus(focusState, defaults, target)
    , cloud(syncStore, defaults, themes)
    , updates(network, QStringLiteral("1.0"), QStringLiteral("http://127.0.0.1:9/feed.xml"))
{
    qml.add<LoginItem>(loginItem);
    qml.add(hotkey);
    qml.add(schedule);
    qml.add(calendar);
    qml.add(focus);
    qml.add(cloud);
    qml.add(updates);
    qml.add(navigation);
}
