#include "platform/linux/systemfocusstate.h"

#include "platform/linux/gsettingsfocusstate.h"
#include "platform/linux/notificationserverfocusstate.h"

#include <QStringList>

namespace SystemFocusState {

std::unique_ptr<FocusState> create()
{
    // Another desktop may have left GNOME's setting off from an earlier
    // session; it would then read as a Do Not Disturb that never ends.
    const QStringList desktops =
        qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    const bool isGnome = desktops.contains(QLatin1String("GNOME"), Qt::CaseInsensitive) ||
                         desktops.contains(QLatin1String("Unity"), Qt::CaseInsensitive);
    if (isGnome) {
        if (std::unique_ptr<GSettingsFocusState> gnome = GSettingsFocusState::create())
            return gnome;
    }
    return std::make_unique<NotificationServerFocusState>();
}

} // namespace SystemFocusState
