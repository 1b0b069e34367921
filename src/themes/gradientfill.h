#pragma once

#include "themes/textureitem.h"

#include <QColor>
#include <QList>
#include <QVariantList>

// A flat colour (one stop) or an evenly spaced linear gradient, either from
// top to bottom or from the top-leading to the bottom-trailing corner.
class GradientFill : public TextureItem
{
    Q_OBJECT
    QML_ELEMENT
    Q_DISABLE_COPY_MOVE(GradientFill)
    Q_PROPERTY(QVariantList stops READ stops WRITE setStops NOTIFY stopsChanged)
    Q_PROPERTY(bool diagonal READ isDiagonal WRITE setDiagonal NOTIFY diagonalChanged)

public:
    explicit GradientFill(QQuickItem *parent = nullptr);

    [[nodiscard]] QVariantList stops() const;
    void setStops(const QVariantList &stops);
    [[nodiscard]] bool isDiagonal() const { return m_diagonal; }
    void setDiagonal(bool diagonal);

Q_SIGNALS:
    void stopsChanged();
    void diagonalChanged();

protected:
    [[nodiscard]] QImage render(QSizeF size, qreal pixelsPerPoint) const override;

private:
    QList<QColor> m_stops;
    bool m_diagonal = true;
};
