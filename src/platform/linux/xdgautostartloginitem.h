#pragma once

#include "platform/loginitem.h"

#include <QString>

// An XDG autostart entry: $XDG_CONFIG_HOME/autostart/vostrel.desktop
// (~/.config/autostart), whose Exec line starts the binary that is running now.
class XdgAutostartLoginItem : public LoginItem
{
public:
    // The standard autostart folder and the running executable.
    XdgAutostartLoginItem();
    XdgAutostartLoginItem(QString folder, QString executable);

    // Writes the entry atomically; a folder that cannot be made or written
    // is reported, never half a file.
    Result registerItem() override;
    // An entry that is already gone counts as removed.
    Result unregisterItem() override;

    [[nodiscard]] QString entryPath() const;
    // The entry's text. Exec quotes the path as the Desktop Entry
    // format asks, so spaces and quotes in it survive.
    [[nodiscard]] QString entryText() const;
    [[nodiscard]] static QString quoteExec(const QString &path);

private:
    QString m_folder;
    QString m_executable;
};
