#pragma once

#include "platform/desktopanimations.h"

#include <memory>

class GSettingsBool;

// GNOME's org.gnome.desktop.interface enable-animations; on desktops without
// that setting animations count as enabled.
class SystemDesktopAnimations : public DesktopAnimations
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SystemDesktopAnimations)

public:
    explicit SystemDesktopAnimations(QObject *parent = nullptr);
    ~SystemDesktopAnimations() override;

    [[nodiscard]] bool areEnabled() const override;

private:
    std::unique_ptr<GSettingsBool> m_setting;
};
