#include "themes/conicgradient.h"

#include "themes/themeslog.h"

#include <QConicalGradient>
#include <QPainter>

ConicGradient::ConicGradient(QQuickItem *parent)
    : TextureItem(parent)
{}

QVariantList ConicGradient::colors() const
{
    QVariantList list;
    for (const QColor &color : m_colors)
        list.append(color);
    return list;
}

void ConicGradient::setColors(const QVariantList &colors)
{
    QList<QColor> list;
    for (const QVariant &value : colors) {
        const QColor color = value.value<QColor>();
        if (!color.isValid()) {
            qCWarning(lcThemes, "ConicGradient: %s is no colour; the gradient stays as it was",
                      qPrintable(value.toString()));
            return;
        }
        list.append(color);
    }
    if (list == m_colors)
        return;
    m_colors = list;
    Q_EMIT colorsChanged();
    invalidate();
}

QImage ConicGradient::render(QSizeF size, qreal pixelsPerPoint) const
{
    if (m_colors.isEmpty())
        return {};
    const int w = std::max(2, qRound(size.width() * pixelsPerPoint));
    const int h = std::max(2, qRound(size.height() * pixelsPerPoint));
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    // Qt's conical gradient turns counter-clockwise on screen; the stops are
    // laid out mirrored so that the colours follow each other clockwise.
    QConicalGradient gradient(QPointF(w / 2.0, h / 2.0), 0);
    const qsizetype n = m_colors.size();
    for (qsizetype i = 0; i < n; ++i) {
        const qreal position = n == 1 ? 0 : qreal(i) / qreal(n - 1);
        gradient.setColorAt(1.0 - position, m_colors.at(i));
    }
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(image.rect(), gradient);
    return image;
}
