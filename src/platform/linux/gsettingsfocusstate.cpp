#include "gsettingsfocusstate.h"

#include <gio/gio.h>

namespace {
constexpr const char *bannersKey = "show-banners";
} // namespace

std::unique_ptr<GSettingsFocusState> GSettingsFocusState::create(const QString &schemaId)
{
    GSettingsSchemaSource *source = g_settings_schema_source_get_default();
    if (!source)
        return nullptr;
    GSettingsSchema *schema =
        g_settings_schema_source_lookup(source, schemaId.toUtf8().constData(), TRUE);
    if (!schema)
        return nullptr;
    bool usable = false;
    if (g_settings_schema_has_key(schema, bannersKey)) {
        GSettingsSchemaKey *key = g_settings_schema_get_key(schema, bannersKey);
        usable =
            g_variant_type_equal(g_settings_schema_key_get_value_type(key), G_VARIANT_TYPE_BOOLEAN);
        g_settings_schema_key_unref(key);
    }
    GSettings *settings = usable ? g_settings_new_full(schema, nullptr, nullptr) : nullptr;
    g_settings_schema_unref(schema);
    if (!settings)
        return nullptr;
    return std::unique_ptr<GSettingsFocusState>(new GSettingsFocusState(settings));
}

GSettingsFocusState::GSettingsFocusState(GSettings *settings)
    : m_settings(settings)
{
    m_handler = g_signal_connect(m_settings, "changed::show-banners",
                                 G_CALLBACK(&GSettingsFocusState::onChanged), this);
    // GSettings reports a change only of a key that was read after the
    // handler was connected.
    (void)isFocusActive();
}

GSettingsFocusState::~GSettingsFocusState()
{
    g_signal_handler_disconnect(m_settings, m_handler);
    g_object_unref(m_settings);
}

bool GSettingsFocusState::isFocusActive() const
{
    return !g_settings_get_boolean(m_settings, bannersKey);
}

void GSettingsFocusState::onChanged(GSettings *, char *, void *self)
{
    Q_EMIT static_cast<GSettingsFocusState *>(self)->stateChanged();
}
