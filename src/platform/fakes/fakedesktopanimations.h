#pragma once

#include "platform/desktopanimations.h"

class FakeDesktopAnimations : public DesktopAnimations
{
    Q_OBJECT

public:
    using DesktopAnimations::DesktopAnimations;

    [[nodiscard]] bool areEnabled() const override { return m_enabled; }
    void setEnabled(bool enabled)
    {
        m_enabled = enabled;
        Q_EMIT changed();
    }

private:
    bool m_enabled = true;
};
