#include "tasks/desktopentryindex.h"

#include "tasks/desktopentry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
// A broken link or a runaway nesting of folders must not stall the scan.
constexpr int maxFolderDepth = 4;
// Real entries are a few KiB; anything far larger is not one.
constexpr qint64 maxEntrySize = 1 << 20;
} // namespace

DesktopEntryIndex::DesktopEntryIndex(QStringList folders)
    : m_folders(std::move(folders))
{}

QStringList DesktopEntryIndex::standardFolders()
{
    return QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation);
}

QString DesktopEntryIndex::name(const QString &className, const QString &instanceName)
{
    if (!m_isBuilt)
        rebuild();
    const QStringList keys = {className, instanceName};
    for (const QString &key : keys) {
        if (key.isEmpty())
            continue;
        for (const Entry &entry : std::as_const(m_entries)) {
            if (entry.startupWMClass == key)
                return entry.name;
        }
    }
    for (const QString &key : keys) {
        if (key.isEmpty())
            continue;
        for (const Entry &entry : std::as_const(m_entries)) {
            if (entry.id.compare(key, Qt::CaseInsensitive) == 0)
                return entry.name;
        }
    }
    return {};
}

void DesktopEntryIndex::refreshIfChanged()
{
    if (m_isBuilt && folderStamps() != m_stamps)
        m_isBuilt = false;
}

void DesktopEntryIndex::rebuild()
{
    m_entries.clear();
    m_stamps.clear();
    // An id found in a folder of higher precedence hides the same id below.
    QStringList seenIds;
    for (const QString &folder : std::as_const(m_folders))
        readFolder(folder, QString(), 0, seenIds);
    m_stamps = folderStamps();
    m_isBuilt = true;
}

void DesktopEntryIndex::readFolder(const QString &folder, const QString &idPrefix, int depth,
                                   QStringList &seenIds)
{
    if (depth > maxFolderDepth)
        return;
    const QDir dir(folder);
    const QFileInfoList files = dir.entryInfoList(
        QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Readable, QDir::Name);
    const QString locale = DesktopEntry::messagesLocale();
    for (const QFileInfo &info : files) {
        if (info.isDir()) {
            // applications/kde4/foo.desktop has the id kde4-foo.desktop.
            readFolder(info.filePath(), idPrefix + info.fileName() + u'-', depth + 1, seenIds);
            continue;
        }
        if (info.suffix() != u"desktop" || info.size() > maxEntrySize)
            continue;
        const QString id = idPrefix + info.completeBaseName();
        if (seenIds.contains(id))
            continue;
        seenIds.append(id);
        QFile file(info.filePath());
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const std::optional<DesktopEntry> entry = DesktopEntry::parse(file.readAll(), locale);
        if (!entry || entry->isHidden || entry->type != u"Application")
            continue;
        m_entries.append({id, entry->name, entry->startupWMClass});
    }
}

QList<QPair<QString, QDateTime>> DesktopEntryIndex::folderStamps() const
{
    QList<QPair<QString, QDateTime>> stamps;
    QList<QPair<QString, int>> pending;
    for (const QString &folder : m_folders)
        pending.append({folder, 0});
    while (!pending.isEmpty()) {
        const auto [folder, depth] = pending.takeFirst();
        const QFileInfo info(folder);
        stamps.append({folder, info.exists() ? info.lastModified() : QDateTime()});
        if (!info.isDir() || depth >= maxFolderDepth)
            continue;
        const QFileInfoList children =
            QDir(folder).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
        for (const QFileInfo &child : children)
            pending.append({child.filePath(), depth + 1});
    }
    return stamps;
}
