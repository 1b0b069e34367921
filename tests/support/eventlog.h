#pragma once

#include <QLatin1String>
#include <QObject>
#include <QStringList>

class KeepAwakeManager;
class OverlayManager;

// The changes the managers announce, by name and in order, so a test can
// check what was said and when.
namespace Event {
inline constexpr QLatin1String overlayDidActivate{"overlayDidActivate"};
inline constexpr QLatin1String overlayDidDeactivate{"overlayDidDeactivate"};
inline constexpr QLatin1String keepAwakeStateChanged{"keepAwakeStateChanged"};
inline constexpr QLatin1String keepAwakeTickUpdate{"keepAwakeTickUpdate"};
inline constexpr QLatin1String trayPanelShouldClose{"trayPanelShouldClose"};
} // namespace Event

class EventLog : public QObject
{
    Q_OBJECT

public:
    void follow(OverlayManager &overlay);
    void follow(KeepAwakeManager &keepAwake);
    void record(QLatin1String event) { events.append(event); }

    QStringList events;
};
