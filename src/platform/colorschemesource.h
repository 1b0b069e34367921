#pragma once

#include <QObject>

// The desktop's light or dark preference, which settings "System" follows.
// `schemeChanged` follows every change the desktop reports; a source that
// cannot tell answers noPreference.
class ColorSchemeSource : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ColorSchemeSource)

public:
    // The values of the desktop portal's org.freedesktop.appearance
    // color-scheme.
    enum class Scheme { noPreference = 0, dark = 1, light = 2 };

    using QObject::QObject;
    ~ColorSchemeSource() override = default;

    [[nodiscard]] virtual Scheme scheme() const = 0;

Q_SIGNALS:
    void schemeChanged();
};
