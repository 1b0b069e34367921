#include "platform/linux/gsettingsbool.h"

#include <gio/gio.h>

std::unique_ptr<GSettingsBool> GSettingsBool::create(const QString &schemaId, const QString &key)
{
    GSettingsSchemaSource *source = g_settings_schema_source_get_default();
    if (!source)
        return nullptr;
    GSettingsSchema *schema =
        g_settings_schema_source_lookup(source, schemaId.toUtf8().constData(), TRUE);
    if (!schema)
        return nullptr;
    const QByteArray keyName = key.toUtf8();
    bool usable = false;
    if (g_settings_schema_has_key(schema, keyName.constData())) {
        GSettingsSchemaKey *schemaKey = g_settings_schema_get_key(schema, keyName.constData());
        usable = g_variant_type_equal(g_settings_schema_key_get_value_type(schemaKey),
                                      G_VARIANT_TYPE_BOOLEAN);
        g_settings_schema_key_unref(schemaKey);
    }
    GSettings *settings = usable ? g_settings_new_full(schema, nullptr, nullptr) : nullptr;
    g_settings_schema_unref(schema);
    if (!settings)
        return nullptr;
    return std::unique_ptr<GSettingsBool>(new GSettingsBool(settings, keyName));
}

GSettingsBool::GSettingsBool(GSettings *settings, const QByteArray &key)
    : m_settings(settings)
    , m_key(key)
{
    const QByteArray signal = "changed::" + key;
    m_handler = g_signal_connect(m_settings, signal.constData(),
                                 G_CALLBACK(&GSettingsBool::onChanged), this);
    // GSettings reports a change only of a key that was read after the
    // handler was connected.
    (void)value();
}

GSettingsBool::~GSettingsBool()
{
    g_signal_handler_disconnect(m_settings, m_handler);
    g_object_unref(m_settings);
}

bool GSettingsBool::value() const
{
    return g_settings_get_boolean(m_settings, m_key.constData());
}

void GSettingsBool::onChanged(GSettings *, char *, void *self)
{
    Q_EMIT static_cast<GSettingsBool *>(self)->changed();
}
