#pragma once

#include "platform/focusstate.h"

#include <QString>

#include <memory>

class GSettingsBool;

// GNOME's Do Not Disturb: the setting org.gnome.desktop.notifications
// show-banners turned off.
class GSettingsFocusState : public FocusState
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(GSettingsFocusState)

public:
    static constexpr const char *defaultSchema = "org.gnome.desktop.notifications";

    // Nothing when the schema is not installed or has no Bool "show-banners".
    [[nodiscard]] static std::unique_ptr<GSettingsFocusState>
    create(const QString &schemaId = QLatin1String(defaultSchema));
    ~GSettingsFocusState() override;

    [[nodiscard]] bool isFocusActive() const override;

private:
    explicit GSettingsFocusState(std::unique_ptr<GSettingsBool> banners);

    std::unique_ptr<GSettingsBool> m_banners;
};
