#include "platform/linux/desktopcolorschemesource.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>

#include <gio/gio.h>

namespace {
constexpr const char *appearanceNamespace = "org.freedesktop.appearance";
constexpr const char *colorSchemeKey = "color-scheme";

QVariant unwrap(QVariant value)
{
    // Read answers a variant holding the variant of the value.
    for (int depth = 0; depth < 4 && value.canConvert<QDBusVariant>() &&
                        value.metaType() == QMetaType::fromType<QDBusVariant>();
         ++depth)
        value = value.value<QDBusVariant>().variant();
    return value;
}
} // namespace

DesktopColorSchemeSource::DesktopColorSchemeSource(QObject *parent)
    : DesktopColorSchemeSource(QDBusConnection::sessionBus(), QLatin1String(gnomeSchema), parent)
{}

DesktopColorSchemeSource::DesktopColorSchemeSource(const QDBusConnection &bus,
                                                   const QString &fallbackSchema, QObject *parent)
    : ColorSchemeSource(parent)
    , m_bus(bus)
    , m_fallbackSchema(fallbackSchema)
{
    if (!m_bus.isConnected()) {
        useFallback();
        return;
    }
    m_bus.connect(QLatin1String(portalService), QLatin1String(portalPath),
                  QLatin1String(portalInterface), QStringLiteral("SettingChanged"), this,
                  SLOT(onSettingChanged(QString, QString, QDBusVariant)));
    m_watcher = new QDBusServiceWatcher(QLatin1String(portalService), m_bus,
                                        QDBusServiceWatcher::WatchForRegistration, this);
    connect(m_watcher, &QDBusServiceWatcher::serviceRegistered, this,
            &DesktopColorSchemeSource::readPortal);
    readPortal();
}

DesktopColorSchemeSource::~DesktopColorSchemeSource()
{
    if (m_settings) {
        g_signal_handler_disconnect(m_settings, m_handler);
        g_object_unref(m_settings);
    }
}

ColorSchemeSource::Scheme DesktopColorSchemeSource::fromPortalValue(const QVariant &value)
{
    bool ok = false;
    const uint raw = unwrap(value).toUInt(&ok);
    if (!ok)
        return Scheme::noPreference;
    switch (raw) {
    case 1:
        return Scheme::dark;
    case 2:
        return Scheme::light;
    default:
        return Scheme::noPreference;
    }
}

ColorSchemeSource::Scheme DesktopColorSchemeSource::fromGnomeValue(const QString &value)
{
    if (value == QLatin1String("prefer-dark"))
        return Scheme::dark;
    if (value == QLatin1String("prefer-light"))
        return Scheme::light;
    return Scheme::noPreference;
}

void DesktopColorSchemeSource::readPortal()
{
    QDBusMessage message =
        QDBusMessage::createMethodCall(QLatin1String(portalService), QLatin1String(portalPath),
                                       QLatin1String(portalInterface), QStringLiteral("Read"));
    message << QLatin1String(appearanceNamespace) << QLatin1String(colorSchemeKey);
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(message), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher *call) {
                call->deleteLater();
                const QDBusPendingReply<QDBusVariant> reply = *call;
                if (reply.isError()) {
                    if (!m_portalAnswered)
                        useFallback();
                    return;
                }
                m_portalAnswered = true;
                setScheme(fromPortalValue(reply.value().variant()));
            });
}

void DesktopColorSchemeSource::onSettingChanged(const QString &nameSpace, const QString &key,
                                                const QDBusVariant &value)
{
    if (nameSpace != QLatin1String(appearanceNamespace) || key != QLatin1String(colorSchemeKey))
        return;
    m_portalAnswered = true;
    setScheme(fromPortalValue(value.variant()));
}

void DesktopColorSchemeSource::useFallback()
{
    if (m_settings || m_fallbackSchema.isEmpty())
        return;
    // GLib aborts the process on a schema or key that is not installed.
    GSettingsSchemaSource *source = g_settings_schema_source_get_default();
    if (!source)
        return;
    GSettingsSchema *schema =
        g_settings_schema_source_lookup(source, m_fallbackSchema.toUtf8().constData(), TRUE);
    if (!schema)
        return;
    bool usable = false;
    if (g_settings_schema_has_key(schema, colorSchemeKey)) {
        GSettingsSchemaKey *key = g_settings_schema_get_key(schema, colorSchemeKey);
        usable =
            g_variant_type_equal(g_settings_schema_key_get_value_type(key), G_VARIANT_TYPE_STRING);
        g_settings_schema_key_unref(key);
    }
    if (usable)
        m_settings = g_settings_new_full(schema, nullptr, nullptr);
    g_settings_schema_unref(schema);
    if (!m_settings)
        return;
    m_handler = g_signal_connect(m_settings, "changed::color-scheme",
                                 G_CALLBACK(&DesktopColorSchemeSource::onGSettingsChanged), this);
    readFallback();
}

void DesktopColorSchemeSource::readFallback()
{
    if (!m_settings || m_portalAnswered)
        return;
    gchar *value = g_settings_get_string(m_settings, colorSchemeKey);
    const QString text = QString::fromUtf8(value);
    g_free(value);
    setScheme(fromGnomeValue(text));
}

void DesktopColorSchemeSource::onGSettingsChanged(_GSettings *, char *, void *self)
{
    static_cast<DesktopColorSchemeSource *>(self)->readFallback();
}

void DesktopColorSchemeSource::setScheme(Scheme scheme)
{
    if (m_scheme == scheme)
        return;
    m_scheme = scheme;
    Q_EMIT schemeChanged();
}
