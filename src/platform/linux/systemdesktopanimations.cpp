#include "platform/linux/systemdesktopanimations.h"

#include "platform/linux/gsettingsbool.h"

SystemDesktopAnimations::SystemDesktopAnimations(QObject *parent)
    : DesktopAnimations(parent)
    , m_setting(GSettingsBool::create(QStringLiteral("org.gnome.desktop.interface"),
                                      QStringLiteral("enable-animations")))
{
    if (m_setting)
        connect(m_setting.get(), &GSettingsBool::changed, this, &DesktopAnimations::changed);
}

SystemDesktopAnimations::~SystemDesktopAnimations() = default;

bool SystemDesktopAnimations::areEnabled() const
{
    return !m_setting || m_setting->value();
}
