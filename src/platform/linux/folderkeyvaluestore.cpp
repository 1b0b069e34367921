#include "platform/linux/folderkeyvaluestore.h"

#include "core/preferencekeys.h"
#include "core/preferences.h"
#include "core/preferencevalue.h"
#include "platform/platformlog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QSet>
#include <QtDebug>

#include <sys/stat.h>

namespace {
QVariantHash parse(const QByteArray &content, bool *ok)
{
    QVariantHash values;
    *ok = true;
    if (content.isEmpty())
        return values;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(content, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        *ok = false;
        return values;
    }
    const QJsonObject object = document.object();
    for (auto it = object.constBegin(); it != object.constEnd(); ++it) {
        // A value of no known shape is skipped, as if another version of the
        // application had written a key this one does not know.
        const QVariant value = PreferenceValue::decode(it.value());
        if (value.isValid())
            values.insert(it.key(), value);
    }
    return values;
}

QStringList differingKeys(const QVariantHash &before, const QVariantHash &after)
{
    QSet<QString> keys;
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        if (!after.contains(it.key()) || after.value(it.key()) != it.value())
            keys.insert(it.key());
    }
    for (auto it = after.cbegin(); it != after.cend(); ++it) {
        if (!before.contains(it.key()))
            keys.insert(it.key());
    }
    QStringList sorted(keys.cbegin(), keys.cend());
    sorted.sort();
    return sorted;
}
} // namespace

FolderKeyValueStore::FolderKeyValueStore(Preferences &defaults, QObject *parent)
    : KeyValueStore(parent)
    , m_defaults(&defaults)
    , m_folderPath(defaults.string(PreferenceKey::cloudSyncFolder).value_or(QString()))
{
    setUp();
    connect(&defaults, &Preferences::valueChanged, this, [this](const QString &key) {
        if (key == PreferenceKey::cloudSyncFolder)
            followFolderSetting();
    });
    // `vostrel defaults write cloudSyncFolder …` from another process.
    connect(&defaults, &Preferences::changedOnDisk, this,
            &FolderKeyValueStore::followFolderSetting);
    open();
}

FolderKeyValueStore::FolderKeyValueStore(const QString &folderPath, QObject *parent)
    : KeyValueStore(parent)
    , m_folderPath(folderPath)
{
    setUp();
    open();
}

FolderKeyValueStore::~FolderKeyValueStore() = default;

void FolderKeyValueStore::setUp()
{
    m_settleTimer.setSingleShot(true);
    m_settleTimer.setInterval(settleDelay);
    connect(&m_settleTimer, &QTimer::timeout, this, &FolderKeyValueStore::checkForExternalChange);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this,
            [this] { m_settleTimer.start(); });
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, [this] { m_settleTimer.start(); });
}

void FolderKeyValueStore::open()
{
    if (!isSignedIn())
        return;
    refresh();
    watch();
    // The initial sync is announced once whoever created the store, or
    // changed its folder, has connected to it.
    if (m_isInitialSyncPending)
        QMetaObject::invokeMethod(this, &FolderKeyValueStore::checkForExternalChange,
                                  Qt::QueuedConnection);
}

void FolderKeyValueStore::setFolderPath(const QString &folderPath)
{
    if (folderPath == m_folderPath)
        return;
    m_settleTimer.stop();
    const QStringList watched = m_watcher.files() + m_watcher.directories();
    if (!watched.isEmpty())
        m_watcher.removePaths(watched);
    m_folderPath = folderPath;
    m_values.clear();
    m_pending.clear();
    m_knownContent.clear();
    m_knownStamp = {};
    m_hasRead = false;
    m_isFileUnreadable = false;
    m_isInitialSyncPending = false;
    open();
}

void FolderKeyValueStore::followFolderSetting()
{
    setFolderPath(m_defaults->string(PreferenceKey::cloudSyncFolder).value_or(QString()));
}

bool FolderKeyValueStore::hasJoinedFolder() const
{
    return m_defaults && !m_folderPath.isEmpty() &&
           m_defaults->string(PreferenceKey::cloudSyncJoinedFolder) ==
               QDir::cleanPath(m_folderPath);
}

bool FolderKeyValueStore::isSignedIn() const
{
    return !m_folderPath.isEmpty() && QFileInfo(m_folderPath).isDir();
}

QString FolderKeyValueStore::filePath() const
{
    return QDir(m_folderPath).filePath(fileName);
}

QVariant FolderKeyValueStore::value(const QString &key) const
{
    const auto pending = m_pending.constFind(key);
    if (pending != m_pending.cend())
        return *pending;
    return m_values.value(key);
}

void FolderKeyValueStore::setValue(const QString &key, const QVariant &value)
{
    if (!PreferenceValue::encode(value).isUndefined())
        m_pending.insert(key, value);
    else
        qCWarning(lcPlatform,
                  "FolderKeyValueStore: a %s value for \"%s\" cannot be stored; ignored",
                  value.typeName(), qPrintable(key));
}

bool FolderKeyValueStore::synchronize()
{
    if (!isSignedIn())
        return false;
    QStringList changed = refresh();
    bool ok = true;
    if (!m_pending.isEmpty()) {
        // What was just set here wins over what arrived for the same keys.
        changed.removeIf([this](const QString &key) { return m_pending.contains(key); });
        ok = writeOut();
    }
    watch();
    announce(changed);
    return ok;
}

void FolderKeyValueStore::checkForExternalChange()
{
    m_settleTimer.stop();
    if (!isSignedIn())
        return;
    const QStringList changed = refresh();
    // A file replaced by rename is a new inode that the old watch misses.
    watch();
    announce(changed);
}

FolderKeyValueStore::FileStamp FolderKeyValueStore::stampOnDisk() const
{
    struct stat info = {};
    if (::stat(QFile::encodeName(filePath()).constData(), &info) != 0)
        return {};
    return {true, quint64(info.st_ino), qint64(info.st_size),
            qint64(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec};
}

QStringList FolderKeyValueStore::refresh()
{
    const FileStamp stamp = stampOnDisk();
    if (m_hasRead && stamp == m_knownStamp)
        return {};
    m_knownStamp = stamp;

    QByteArray content;
    bool tooBig = false;
    bool opened = true;
    if (stamp.exists) {
        QFile file(filePath());
        if (file.open(QIODevice::ReadOnly)) {
            content = file.read(maximumFileSize + 1);
            tooBig = content.size() > maximumFileSize;
        } else {
            opened = false;
            qCWarning(lcPlatform, "FolderKeyValueStore: cannot read %s: %s; it counts as empty",
                      qPrintable(filePath()), qPrintable(file.errorString()));
        }
    }
    // Touched but not changed, or our own write seen again.
    if (m_hasRead && content == m_knownContent)
        return {};
    m_knownContent = content;

    bool parsed = !tooBig;
    const QVariantHash values = parsed ? parse(content, &parsed) : QVariantHash();
    if (!parsed)
        qCWarning(lcPlatform,
                  "FolderKeyValueStore: %s is not a settings file; it counts as empty and is "
                  "left as it is",
                  qPrintable(filePath()));
    m_isFileUnreadable = !parsed;

    const QStringList changed = differingKeys(m_values, values);
    m_values = values;
    if (!m_hasRead) {
        m_hasRead = true;
        // Only a file actually read counts as joined; until then its first
        // good version arrives as an ordinary change.
        if (opened && parsed && !hasJoinedFolder()) {
            m_isInitialSyncPending = stamp.exists;
            if (m_defaults)
                m_defaults->setString(PreferenceKey::cloudSyncJoinedFolder,
                                      QDir::cleanPath(m_folderPath));
        }
        return {};
    }
    return changed;
}

bool FolderKeyValueStore::writeOut()
{
    if (m_isFileUnreadable) {
        qCWarning(lcPlatform,
                  "FolderKeyValueStore: not writing over %s, which is not a settings file; "
                  "repair or remove it to sync again",
                  qPrintable(filePath()));
        return false;
    }
    QVariantHash merged = m_values;
    for (auto it = m_pending.cbegin(); it != m_pending.cend(); ++it)
        merged.insert(it.key(), it.value());
    QJsonObject object;
    for (auto it = merged.cbegin(); it != merged.cend(); ++it)
        object.insert(it.key(), PreferenceValue::encode(it.value()));
    const QByteArray content = QJsonDocument(object).toJson(QJsonDocument::Indented);

    QSaveFile file(filePath());
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() ||
        !file.commit()) {
        qCWarning(lcPlatform,
                  "FolderKeyValueStore: cannot write %s: %s; the values are kept for the next "
                  "sync",
                  qPrintable(filePath()), qPrintable(file.errorString()));
        return false;
    }
    m_values = merged;
    m_pending.clear();
    m_knownContent = content;
    m_knownStamp = stampOnDisk();
    return true;
}

void FolderKeyValueStore::announce(const QStringList &changedKeys)
{
    if (m_isInitialSyncPending) {
        m_isInitialSyncPending = false;
        QStringList keys = m_values.keys();
        keys.sort();
        Q_EMIT didChangeExternally(initialSyncChange, keys);
        return;
    }
    if (!changedKeys.isEmpty())
        Q_EMIT didChangeExternally(serverChange, changedKeys);
}

void FolderKeyValueStore::watch()
{
    if (!m_watcher.directories().contains(m_folderPath))
        m_watcher.addPath(m_folderPath);
    const QString path = filePath();
    if (!m_watcher.files().contains(path) && QFileInfo::exists(path))
        m_watcher.addPath(path);
}
