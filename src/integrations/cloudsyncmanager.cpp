#include "integrations/cloudsyncmanager.h"

#include "core/preferencekeys.h"
#include "core/preferences.h"
#include "core/qmlinstances.h"
#include "platform/keyvaluestore.h"
#include "themes/overlaythemeid.h"
#include "themes/thememanager.h"

#include <QJSEngine>

#include <cmath>

namespace {
std::optional<QString> stringValue(const QVariant &value)
{
    if (value.typeId() != QMetaType::QString)
        return std::nullopt;
    return value.toString();
}

bool boolValue(const QVariant &value, bool fallback)
{
    return value.typeId() == QMetaType::Bool ? value.toBool() : fallback;
}
} // namespace

CloudSyncManager::CloudSyncManager(KeyValueStore &store, Preferences &defaults,
                                   ThemeManager &themes, QObject *parent)
    : QObject(parent)
    , m_store(store)
    , m_defaults(defaults)
    , m_themes(themes)
{
    connect(&m_store, &KeyValueStore::didChangeExternally, this,
            [this](int reason, const QStringList &) { handleRemoteChange(reason); });
    if (m_store.isSignedIn())
        m_store.synchronize();
}

CloudSyncManager::~CloudSyncManager() = default;

CloudSyncManager *CloudSyncManager::create(QQmlEngine *engine, QJSEngine *)
{
    return QmlInstances::singleton<CloudSyncManager>(engine);
}

const QStringList &CloudSyncManager::syncKeys()
{
    static const QStringList keys{
        PreferenceKey::selectedTheme,       PreferenceKey::overlayHeadline,
        PreferenceKey::overlaySubtext,      PreferenceKey::showTaskTicker,
        PreferenceKey::showClock,           PreferenceKey::liveBlurRadius,
        PreferenceKey::liveBlurShowDesktop, PreferenceKey::customWebsiteURL,
    };
    return keys;
}

bool CloudSyncManager::isSignedIn() const
{
    return m_store.isSignedIn();
}

void CloudSyncManager::push()
{
    if (!isSignedIn())
        return;
    for (const QString &key : syncKeys()) {
        const QVariant value = m_defaults.value(key);
        if (value.isValid())
            m_store.setValue(key, value);
    }
    m_store.synchronize();
}

void CloudSyncManager::pull()
{
    if (!isSignedIn())
        return;
    for (const QString &key : syncKeys()) {
        const QVariant value = m_store.value(key);
        if (value.isValid())
            m_defaults.setValue(key, value);
    }
    QMetaObject::invokeMethod(this, &CloudSyncManager::applyToThemeManager, Qt::QueuedConnection);
}

void CloudSyncManager::handleRemoteChange(int reason)
{
    if (!isSignedIn() || !m_defaults.boolValue(PreferenceKey::cloudSyncEnabled))
        return;
    if (reason == KeyValueStore::serverChange || reason == KeyValueStore::initialSyncChange)
        pull();
}

void CloudSyncManager::applyToThemeManager()
{
    // A name this version does not know (absent, mistyped, or a theme of a
    // newer version) keeps the current theme. Writing it back keeps it past
    // the next launch too, which would otherwise fall back to the default.
    const auto raw = stringValue(m_defaults.value(PreferenceKey::selectedTheme));
    const auto theme = raw ? OverlayTheme::fromRawValue(*raw) : std::nullopt;
    m_themes.setCurrentTheme(theme.value_or(m_themes.currentTheme()));
    m_themes.setCustomHeadline(stringValue(m_defaults.value(PreferenceKey::overlayHeadline))
                                   .value_or(ThemeManager::defaultHeadline()));
    m_themes.setCustomSubtext(stringValue(m_defaults.value(PreferenceKey::overlaySubtext))
                                  .value_or(ThemeManager::defaultSubtext()));
    m_themes.setShowTaskTicker(boolValue(m_defaults.value(PreferenceKey::showTaskTicker), true));
    m_themes.setShowClock(boolValue(m_defaults.value(PreferenceKey::showClock), true));

    // An integer is a number here too, as the theme manager reads it; a value
    // that is not finite would only break the blur, so it counts as absent.
    const QVariant radius = m_defaults.value(PreferenceKey::liveBlurRadius);
    double blurRadius = defaultLiveBlurRadius;
    if ((radius.typeId() == QMetaType::Double || radius.typeId() == QMetaType::LongLong) &&
        std::isfinite(radius.toDouble()))
        blurRadius = radius.toDouble();
    m_themes.setLiveBlurRadius(blurRadius);

    m_themes.setLiveBlurShowDesktop(
        boolValue(m_defaults.value(PreferenceKey::liveBlurShowDesktop), false));
    m_themes.setCustomWebsiteURL(stringValue(m_defaults.value(PreferenceKey::customWebsiteURL)));
}
