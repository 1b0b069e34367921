#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The few keys of a .desktop file's [Desktop Entry] group that name an
// application. Other groups (actions) and keys are skipped.
struct DesktopEntry
{
    QString type;
    QString name;
    QString startupWMClass;
    bool isHidden = false;

    // None when there is no [Desktop Entry] group or no Name. Name is taken
    // in the given locale ("de_AT.UTF-8@euro") by the freedesktop.org desktop-entry
    // fallback order: lang_COUNTRY@MODIFIER, lang_COUNTRY, lang@MODIFIER,
    // lang, then plain Name.
    [[nodiscard]] static std::optional<DesktopEntry> parse(const QByteArray &contents,
                                                           const QString &locale);
    // The messages locale of this process's environment.
    [[nodiscard]] static QString messagesLocale();
};
