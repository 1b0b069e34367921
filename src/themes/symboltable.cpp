#include "themes/symboltable.h"

namespace SymbolTable {
const QHash<QString, QString> &entries()
{
    static const QHash<QString, QString> table = [] {
        const std::initializer_list<std::pair<const char *, const char *>> rows = {
            // Lock screen, unlock and alerts.
            {"lock.fill", "system-lock-screen-symbolic"},
            {"lock.open", "changes-allow-symbolic"},
            {"lock.rotation", "rotation-locked-symbolic"},
            {"lock.shield.fill", "security-high-symbolic"},
            {"lock.trianglebadge.exclamationmark.fill", "channel-insecure-symbolic"},
            {"exclamationmark.shield", "security-low-symbolic"},
            {"exclamationmark.triangle.fill", "dialog-warning-symbolic"},
            {"touchid", "auth-fingerprint-symbolic"},
            {"checkmark", "object-select-symbolic"},
            {"checkmark.circle.fill", "emblem-ok-symbolic"},
            {"xmark.circle.fill", "process-stop-symbolic"},
            {"info.circle", "dialog-information-symbolic"},
            {"info.circle.fill", "dialog-information-symbolic"},
            {"square.and.arrow.up", "document-send-symbolic"},
            {"person.fill", "avatar-default-symbolic"},
            // Themes.
            {"flask", "applications-science-symbolic"},
            {"moon.fill", "weather-clear-night-symbolic"},
            {"sun.max", "weather-clear-symbolic"},
            {"rectangle.on.rectangle", "focus-windows-symbolic"},
            {"rectangle.on.rectangle.dashed", "view-restore-symbolic"},
            {"eye.slash", "view-conceal-symbolic"},
            {"photo", "image-x-generic-symbolic"},
            // No theme has a code symbol under a common name: always drawn.
            {"chevron.left.forwardslash.chevron.right", ""},
            {"globe", "web-browser-symbolic"},
            {"water.waves", "weather-fog-symbolic"},
            {"sparkles", "star-new-symbolic"},
            {"sun.horizon.fill", "daytime-sunset-symbolic"},
            {"moon.stars.fill", "night-light-symbolic"},
            {"cloud.fill", "weather-overcast-symbolic"},
            // Running tasks and agents.
            {"brain.head.profile", "emoji-people-symbolic"},
            {"cursorarrow.motionlines", "input-mouse-symbolic"},
            {"airplane", "airplane-mode-symbolic"},
            {"bubble.left.fill", "chat-message-new-symbolic"},
            {"cpu", "application-x-firmware-symbolic"},
            // Menu, settings and automation.
            {"calendar.badge.clock", "appointment-soon-symbolic"},
            {"bolt.fill", "thunderbolt-symbolic"},
            {"clock", "preferences-system-time-symbolic"},
            {"clock.arrow.circlepath", "document-open-recent-symbolic"},
            {"power", "system-shutdown-symbolic"},
            {"stop.circle", "media-playback-stop-symbolic"},
            {"gear", "emblem-system-symbolic"},
            {"gearshape", "emblem-system-symbolic"},
            {"gearshape.fill", "emblem-system-symbolic"},
            {"wind", "weather-windy-symbolic"},
            {"trash", "user-trash-symbolic"},
            {"plus", "list-add-symbolic"},
            {"link", "insert-link-symbolic"},
            {"infinity", "media-playlist-repeat-symbolic"},
            {"hand.raised.fill", "preferences-system-privacy-symbolic"},
            {"envelope.fill", "mail-unread-symbolic"},
            {"doc.text.fill", "x-office-document-symbolic"},
            {"doc.plaintext.fill", "text-x-generic-symbolic"},
            {"text.quote", "insert-text-symbolic"},
            {"text.below.photo", "insert-image-symbolic"},
            {"display", "video-display-symbolic"},
            {"desktopcomputer", "computer-symbolic"},
            {"command", "preferences-desktop-keyboard-shortcuts-symbolic"},
            {"command.square.fill", "preferences-desktop-keyboard-shortcuts-symbolic"},
            {"circle.lefthalf.filled", "preferences-desktop-appearance-symbolic"},
            {"square.split.diagonal.2x2", "view-grid-symbolic"},
            {"speaker.wave.2.fill", "audio-volume-high-symbolic"},
            {"paintpalette.fill", "preferences-color-symbolic"},
            {"list.bullet.rectangle", "view-list-bullet-symbolic"},
            {"camera.filters", "camera-photo-symbolic"},
            {"bubble.left.and.bubble.right.fill", "chat-message-new-symbolic"},
            {"arrow.triangle.2.circlepath", "view-refresh-symbolic"},
            {"app.badge", "software-update-available-symbolic"},
            {"icloud.fill", "weather-overcast-symbolic"},
            {"puzzlepiece.extension.fill", "application-x-addon-symbolic"},
        };
        QHash<QString, QString> hash;
        for (const auto &[symbol, icon] : rows)
            hash.insert(QString::fromLatin1(symbol), QString::fromLatin1(icon));
        return hash;
    }();
    return table;
}

QString iconName(const QString &symbol)
{
    return entries().value(symbol);
}

QString fallbackTheme()
{
    return QStringLiteral("Adwaita");
}
} // namespace SymbolTable
