#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// Application names from the installed .desktop files, looked up by window
// class the way desktop shells match windows to launchers: first an entry
// whose StartupWMClass is the class (or the instance name), then one whose
// file name is. The folders are read once and again only after one of them
// changed. Not thread-safe: one thread at a time uses it.
class DesktopEntryIndex
{
public:
    // The "applications" folders in order of precedence, the user's first
    // (XDG_DATA_HOME, then XDG_DATA_DIRS).
    explicit DesktopEntryIndex(QStringList folders = standardFolders());

    [[nodiscard]] static QStringList standardFolders();

    // The entry's Name in the user's language, or empty when no entry
    // matches.
    [[nodiscard]] QString name(const QString &className, const QString &instanceName);

    // Reads the folders again if any of them changed since the last read.
    void refreshIfChanged();

private:
    struct Entry
    {
        QString id; // "org.gnome.Nautilus" for org.gnome.Nautilus.desktop
        QString name;
        QString startupWMClass;
    };

    void rebuild();
    void readFolder(const QString &folder, const QString &idPrefix, int depth,
                    QStringList &seenIds);
    [[nodiscard]] QList<QPair<QString, QDateTime>> folderStamps() const;

    QStringList m_folders;
    QList<Entry> m_entries;
    QList<QPair<QString, QDateTime>> m_stamps;
    bool m_isBuilt = false;
};
