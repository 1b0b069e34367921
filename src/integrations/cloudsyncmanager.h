#pragma once

#include <QObject>
#include <qqmlregistration.h>
#include <QStringList>

class KeyValueStore;
class QJSEngine;
class QQmlEngine;
class ThemeManager;
class Preferences;

// Copies the appearance preferences between this machine and the store the
// user's machines share, whole and key by key: the last copy wins, nothing
// is merged and nothing is pushed by itself when a setting changes. While
// "iCloudSyncEnabled" is off nothing that others write is taken in, so
// settings this machine has not pushed are never overwritten.
class CloudSyncManager : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_DISABLE_COPY_MOVE(CloudSyncManager)

public:
    // The store is used whenever it is signed in, which may change while
    // running (a sync folder chosen or removed).
    explicit CloudSyncManager(KeyValueStore &store, Preferences &defaults, ThemeManager &themes,
                              QObject *parent = nullptr);
    ~CloudSyncManager() override;

    static CloudSyncManager *create(QQmlEngine *, QJSEngine *);

    [[nodiscard]] static const QStringList &syncKeys();
    static constexpr double defaultLiveBlurRadius = 30.0;

    // Whether the store is signed in now; every operation is a no-op otherwise.
    Q_INVOKABLE bool isSignedIn() const;

    // Store → local preferences, then the theme manager follows on the next
    // turn of the event loop.
    Q_INVOKABLE void pull();
    // Local preferences → store; keys without a local value stay as they are.
    Q_INVOKABLE void push();
    // The store's external change: reasons 0 (another machine) and 1 (first
    // sync) pull while "iCloudSyncEnabled" is on; others are ignored.
    void handleRemoteChange(int reason);

    // Hands the eight preferences to the theme manager, with the fall-backs
    // for values that are absent or of another type.
    void applyToThemeManager();

private:
    KeyValueStore &m_store;
    Preferences &m_defaults;
    ThemeManager &m_themes;
};
