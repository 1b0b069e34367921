#include "tray/trayiconpainter.h"

#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>

#include <array>

namespace TrayIconPainter {

namespace {
QPainterPath glyph(bool locked, qreal s)
{
    // A body across the lower half with a keyhole, and a shackle that stands
    // on both legs when closed and, when open, rises on its left leg with the
    // right one well clear of the body.
    const QRectF body(s * 0.18, s * 0.48, s * 0.64, s * 0.44);
    QPainterPath bodyPath;
    bodyPath.addRoundedRect(body, s * 0.09, s * 0.09);
    QPainterPath keyhole;
    keyhole.addEllipse(QPointF(s * 0.5, s * 0.65), s * 0.065, s * 0.065);
    keyhole.addRect(QRectF(s * 0.475, s * 0.65, s * 0.05, s * 0.14));
    bodyPath = bodyPath.subtracted(keyhole);

    const qreal radius = s * 0.18;
    const qreal legLeft = s * 0.5 - radius;
    const qreal legRight = s * 0.5 + radius;
    const qreal archY = (locked ? s * 0.34 : s * 0.28);
    QPainterPath shackle;
    shackle.moveTo(legLeft, body.top() + s * 0.02);
    shackle.lineTo(legLeft, archY);
    shackle.arcTo(QRectF(legLeft, archY - radius, 2 * radius, 2 * radius), 180, -180);
    shackle.lineTo(legRight, locked ? body.top() + s * 0.02 : body.top() - s * 0.14);
    QPainterPathStroker stroker;
    stroker.setWidth(s * 0.1);
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    return stroker.createStroke(shackle).united(bodyPath).simplified();
}
} // namespace

QImage paint(bool locked, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPainterPath path = glyph(locked, size);
    const qreal outline = std::max(0.8, size / 18.0);
    painter.setPen(
        QPen(QColor(20, 20, 24, 230), outline * 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(245, 245, 247));
    painter.drawPath(path);
    return image;
}

QIcon icon(bool locked)
{
    QIcon result;
    constexpr std::array sizes{16, 22, 24, 32, 48, 64};
    for (const int size : sizes)
        result.addPixmap(QPixmap::fromImage(paint(locked, size)));
    return result;
}

} // namespace TrayIconPainter
