#include "support/eventlog.h"

#include "overlay/overlaymanager.h"
#include "triggers/keepawakemanager.h"

void EventLog::follow(OverlayManager &overlay)
{
    connect(&overlay, &OverlayManager::overlayActiveChanged, this, [this, &overlay] {
        record(overlay.isOverlayActive() ? Event::overlayDidActivate : Event::overlayDidDeactivate);
    });
}

void EventLog::follow(KeepAwakeManager &keepAwake)
{
    connect(&keepAwake, &KeepAwakeManager::stateChanged, this,
            [this] { record(Event::keepAwakeStateChanged); });
    connect(&keepAwake, &KeepAwakeManager::ticked, this,
            [this] { record(Event::keepAwakeTickUpdate); });
}
