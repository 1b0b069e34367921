#pragma once

#include "platform/keyvaluestore.h"

#include <QByteArray>
#include <QFileSystemWatcher>
#include <QHash>
#include <QTimer>

#include <chrono>

class Preferences;

// The shared store as one JSON file in a folder that the user's own sync
// engine (Syncthing, Nextcloud, Dropbox …) keeps in step across machines.
//
// The file is a flat object in the preferences file's typed encoding, so a
// double stays a double on the other side. It is replaced atomically, so the
// sync engine never copies half a file. What other machines write shows up as
// a change of the file on disk; what this store wrote itself is recognised by
// its stamp and content and never comes back as a change. A file that does
// not parse is never written over and counts as an empty store until someone
// repairs or removes it.
class FolderKeyValueStore : public KeyValueStore
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FolderKeyValueStore)

public:
    static constexpr QLatin1String fileName{"vostrel-settings.json"};
    // A sync engine often writes in several steps (temporary file, rename,
    // attributes); waiting this long after the last sign reads it once.
    static constexpr std::chrono::milliseconds settleDelay{250};
    // Far above what the synced settings take; anything bigger is not ours.
    static constexpr qint64 maximumFileSize = 1024 * 1024;

    // Over the folder that the "cloudSyncFolder" preference names, following
    // it when it changes. The first read of a folder is the initial sync once
    // per machine, not at every start: "cloudSyncJoinedFolder" remembers the
    // folder already read, in the same file as the folder setting, so a
    // machine whose preferences are reset joins afresh.
    explicit FolderKeyValueStore(Preferences &defaults, QObject *parent = nullptr);
    // Over one folder, remembering nothing: the first read is the initial
    // sync. An empty or missing folder gives a store that is not signed in.
    explicit FolderKeyValueStore(const QString &folderPath, QObject *parent = nullptr);
    ~FolderKeyValueStore() override;

    [[nodiscard]] bool isSignedIn() const override;
    [[nodiscard]] QVariant value(const QString &key) const override;
    void setValue(const QString &key, const QVariant &value) override;
    bool synchronize() override;

    [[nodiscard]] QString folderPath() const { return m_folderPath; }
    // Leaves the current folder for another, as if starting over it; values
    // set but not yet written are dropped with the old folder.
    void setFolderPath(const QString &folderPath);
    [[nodiscard]] QString filePath() const;

    // Reads the file again if it changed on disk and announces what others
    // wrote. Runs by itself once the folder has settled after a change.
    void checkForExternalChange();

private:
    struct FileStamp
    {
        bool exists = false;
        quint64 inode = 0;
        qint64 size = 0;
        qint64 modifiedNs = 0;
        bool operator==(const FileStamp &) const = default;
    };

    void setUp();
    void open();
    void followFolderSetting();
    [[nodiscard]] bool hasJoinedFolder() const;
    [[nodiscard]] FileStamp stampOnDisk() const;
    // The keys whose value changed since the last read.
    QStringList refresh();
    bool writeOut();
    void announce(const QStringList &changedKeys);
    void watch();

    Preferences *m_defaults = nullptr;
    QString m_folderPath;
    QFileSystemWatcher m_watcher;
    QTimer m_settleTimer;
    QVariantHash m_values;
    QVariantHash m_pending;
    QByteArray m_knownContent;
    FileStamp m_knownStamp;
    bool m_hasRead = false;
    bool m_isFileUnreadable = false;
    bool m_isInitialSyncPending = false;
};
