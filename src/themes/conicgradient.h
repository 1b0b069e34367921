#pragma once

#include "themes/textureitem.h"

#include <QColor>
#include <QList>
#include <QVariantList>

// Colours evenly spaced round the item's centre, clockwise from the
// three-o'clock direction; the last meets the first there without blending.
class ConicGradient : public TextureItem
{
    Q_OBJECT
    QML_ELEMENT
    Q_DISABLE_COPY_MOVE(ConicGradient)
    Q_PROPERTY(QVariantList colors READ colors WRITE setColors NOTIFY colorsChanged)

public:
    explicit ConicGradient(QQuickItem *parent = nullptr);

    [[nodiscard]] QVariantList colors() const;
    void setColors(const QVariantList &colors);

Q_SIGNALS:
    void colorsChanged();

protected:
    [[nodiscard]] QImage render(QSizeF size, qreal pixelsPerPoint) const override;

private:
    QList<QColor> m_colors;
};
