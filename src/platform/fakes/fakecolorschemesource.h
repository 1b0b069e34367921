#pragma once

#include "platform/colorschemesource.h"

// The desktop's preference as the test sets it; `change` reports it as the
// desktop would.
class FakeColorSchemeSource : public ColorSchemeSource
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FakeColorSchemeSource)

public:
    using ColorSchemeSource::ColorSchemeSource;

    [[nodiscard]] Scheme scheme() const override { return m_scheme; }
    void change(Scheme scheme)
    {
        m_scheme = scheme;
        Q_EMIT schemeChanged();
    }

private:
    Scheme m_scheme = Scheme::noPreference;
};
