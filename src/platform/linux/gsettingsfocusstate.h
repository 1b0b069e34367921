#pragma once

#include "focusstate.h"

#include <QString>

#include <memory>

struct _GSettings;

// GNOME's Do Not Disturb: the setting org.gnome.desktop.notifications
// show-banners turned off. Changes arrive through GLib's main context, which
// Qt's event loop runs (the GLib event dispatcher, Qt's default on Linux).
class GSettingsFocusState : public FocusState
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(GSettingsFocusState)

public:
    static constexpr const char *defaultSchema = "org.gnome.desktop.notifications";

    // Nothing when the schema is not installed or has no Bool "show-banners":
    // GLib would abort the process on a missing schema.
    [[nodiscard]] static std::unique_ptr<GSettingsFocusState>
    create(const QString &schemaId = QLatin1String(defaultSchema));
    ~GSettingsFocusState() override;

    [[nodiscard]] bool isFocusActive() const override;

private:
    explicit GSettingsFocusState(_GSettings *settings);
    static void onChanged(_GSettings *settings, char *key, void *self);

    _GSettings *m_settings = nullptr;
    unsigned long m_handler = 0;
};
