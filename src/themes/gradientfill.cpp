#include "themes/gradientfill.h"

#include "themes/themeslog.h"

#include <QLinearGradient>
#include <QPainter>

GradientFill::GradientFill(QQuickItem *parent)
    : TextureItem(parent)
{}

QVariantList GradientFill::stops() const
{
    QVariantList list;
    for (const QColor &color : m_stops)
        list.append(color);
    return list;
}

void GradientFill::setStops(const QVariantList &stops)
{
    QList<QColor> colors;
    for (const QVariant &stop : stops) {
        const QColor color = stop.value<QColor>();
        if (!color.isValid()) {
            qCWarning(lcThemes, "GradientFill: %s is no colour; the fill stays as it was",
                      qPrintable(stop.toString()));
            return;
        }
        colors.append(color);
    }
    if (colors == m_stops)
        return;
    m_stops = colors;
    Q_EMIT stopsChanged();
    invalidate();
}

void GradientFill::setDiagonal(bool diagonal)
{
    if (diagonal == m_diagonal)
        return;
    m_diagonal = diagonal;
    Q_EMIT diagonalChanged();
    invalidate();
}

QImage GradientFill::render(QSizeF size, qreal pixelsPerPoint) const
{
    if (m_stops.isEmpty())
        return {};
    if (m_stops.size() == 1) {
        QImage flat(1, 1, QImage::Format_ARGB32_Premultiplied);
        flat.fill(m_stops.first());
        return flat;
    }
    // A vertical gradient is the same in every column: one column will do.
    const int h = std::max(2, qRound(size.height() * pixelsPerPoint));
    const int w = m_diagonal ? std::max(2, qRound(size.width() * pixelsPerPoint)) : 1;
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    QLinearGradient gradient(0, 0, m_diagonal ? w : 0, h);
    for (qsizetype i = 0; i < m_stops.size(); ++i)
        gradient.setColorAt(qreal(i) / qreal(m_stops.size() - 1), m_stops.at(i));
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(image.rect(), gradient);
    return image;
}
