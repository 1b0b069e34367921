#pragma once

#include "themes/textureitem.h"

#include <QColor>
#include <QPointF>

// A colour that fades to clear around an anchor: full colour inside the start
// radius, clear beyond the end radius (both in points). The anchor is in unit
// coordinates of the item.
class RadialGlow : public TextureItem
{
    Q_OBJECT
    QML_ELEMENT
    Q_DISABLE_COPY_MOVE(RadialGlow)
    Q_PROPERTY(QColor color READ color WRITE setColor NOTIFY glowChanged)
    Q_PROPERTY(qreal anchorX READ anchorX WRITE setAnchorX NOTIFY glowChanged)
    Q_PROPERTY(qreal anchorY READ anchorY WRITE setAnchorY NOTIFY glowChanged)
    Q_PROPERTY(qreal startRadius READ startRadius WRITE setStartRadius NOTIFY glowChanged)
    Q_PROPERTY(qreal endRadius READ endRadius WRITE setEndRadius NOTIFY glowChanged)

public:
    explicit RadialGlow(QQuickItem *parent = nullptr);

    [[nodiscard]] QColor color() const { return m_color; }
    void setColor(const QColor &color);
    [[nodiscard]] qreal anchorX() const { return m_anchor.x(); }
    void setAnchorX(qreal x);
    [[nodiscard]] qreal anchorY() const { return m_anchor.y(); }
    void setAnchorY(qreal y);
    [[nodiscard]] qreal startRadius() const { return m_startRadius; }
    void setStartRadius(qreal radius);
    [[nodiscard]] qreal endRadius() const { return m_endRadius; }
    void setEndRadius(qreal radius);

Q_SIGNALS:
    void glowChanged();

protected:
    [[nodiscard]] QImage render(QSizeF size, qreal pixelsPerPoint) const override;

private:
    void changed();

    QColor m_color = Qt::white;
    QPointF m_anchor{0.5, 0.5};
    qreal m_startRadius = 0;
    qreal m_endRadius = 100;
};
