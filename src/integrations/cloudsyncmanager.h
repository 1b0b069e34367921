#pragma once

#include <QObject>
#include <qqmlregistration.h>
#include <QStringList>

class KeyValueStore;
class QJSEngine;
class QQmlEngine;
class ThemeManager;
class UserDefaults;

// Copies the appearance preferences between this machine and the store the
// user's machines share, whole and key by key: the last copy wins, nothing
// is merged and nothing is pushed by itself when a setting changes.
class CloudSyncManager : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_DISABLE_COPY_MOVE(CloudSyncManager)

public:
    // The store is used only when it is signed in now; signing in later takes
    // effect at the next launch.
    explicit CloudSyncManager(KeyValueStore &store, UserDefaults &defaults, ThemeManager &themes,
                              QObject *parent = nullptr);
    ~CloudSyncManager() override;

    // Over the folder named by "cloudSyncFolder" at first use.
    static CloudSyncManager &shared();
    static CloudSyncManager *create(QQmlEngine *, QJSEngine *);

    [[nodiscard]] static const QStringList &syncKeys();
    static constexpr double defaultLiveBlurRadius = 30.0;

    // The store in use; null when it was not signed in at creation.
    [[nodiscard]] KeyValueStore *kvStore() const { return m_kvStore; }
    // Whether the store is signed in now, for the page's "Sync Now".
    Q_INVOKABLE bool isSignedIn() const;

    // Store → local preferences, then the theme manager follows on the next
    // turn of the event loop.
    Q_INVOKABLE void pull();
    // Local preferences → store; keys without a local value stay as they are.
    Q_INVOKABLE void push();
    // The store's external change: reasons 0 (another machine) and 1 (first
    // sync) pull, whether or not "iCloudSyncEnabled" is on; others are ignored.
    void handleRemoteChange(int reason);

    // Hands the eight preferences to the theme manager, with the fall-backs
    // for values that are absent or of another type.
    void applyToThemeManager();

private:
    KeyValueStore &m_store;
    KeyValueStore *m_kvStore = nullptr;
    UserDefaults &m_defaults;
    ThemeManager &m_themes;
};
