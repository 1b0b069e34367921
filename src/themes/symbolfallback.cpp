#include "themes/symbolfallback.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {
void padlock(QPainter &p, qreal s, bool open, bool warning)
{
    const QColor color = p.brush().color();
    p.setPen(QPen(color, std::max(1.5, s / 9), Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath shackle;
    const qreal shift = open ? -s * 0.18 : 0;
    shackle.moveTo(s * 0.3 + shift, s * 0.48);
    shackle.lineTo(s * 0.3 + shift, s * 0.4);
    shackle.arcTo(QRectF(s * 0.3 + shift, s * 0.2, s * 0.4, s * 0.4), 180, -180);
    shackle.lineTo(s * 0.7 + shift, open ? s * 0.4 : s * 0.48);
    p.drawPath(shackle);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    QPainterPath body;
    body.addRoundedRect(QRectF(s * 0.16, s * 0.46, s * 0.68, s * 0.46), s * 0.06, s * 0.06);
    if (warning) {
        QPainterPath mark;
        mark.addRect(QRectF(s * 0.46, s * 0.54, s * 0.08, s * 0.18));
        mark.addRect(QRectF(s * 0.46, s * 0.76, s * 0.08, s * 0.08));
        body = body.subtracted(mark);
    }
    p.drawPath(body);
}

void fingerprint(QPainter &p, qreal s)
{
    p.setPen(QPen(p.brush().color(), std::max(1.0, s / 18), Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    for (int i = 1; i <= 4; ++i) {
        const qreal r = s * 0.11 * i;
        const QRectF arc(s / 2 - r, s * 0.55 - r, 2 * r, 2 * r);
        // Open at the bottom, a little more on the right for each ring.
        p.drawArc(arc, int((-18 - i * 6) * 16), int((216 + i * 6) * 16));
    }
    p.drawLine(QPointF(s / 2, s * 0.55), QPointF(s / 2, s * 0.8));
}

void checkmark(QPainter &p, qreal s, bool circled)
{
    QColor color = p.brush().color();
    if (circled) {
        p.setPen(Qt::NoPen);
        p.drawEllipse(QRectF(s * 0.08, s * 0.08, s * 0.84, s * 0.84));
        p.setCompositionMode(QPainter::CompositionMode_Clear);
    }
    p.setPen(QPen(color, std::max(1.5, s / 9), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    const QPointF points[] = {{s * 0.28, s * 0.52}, {s * 0.44, s * 0.68}, {s * 0.74, s * 0.34}};
    p.drawPolyline(points, 3);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void warningTriangle(QPainter &p, qreal s)
{
    QPainterPath triangle;
    triangle.moveTo(s * 0.5, s * 0.1);
    triangle.lineTo(s * 0.94, s * 0.88);
    triangle.lineTo(s * 0.06, s * 0.88);
    triangle.closeSubpath();
    QPainterPath mark;
    mark.addRect(QRectF(s * 0.46, s * 0.36, s * 0.08, s * 0.26));
    mark.addEllipse(QRectF(s * 0.455, s * 0.68, s * 0.09, s * 0.09));
    p.setPen(Qt::NoPen);
    p.drawPath(triangle.subtracted(mark));
}

void infoCircle(QPainter &p, qreal s, bool filled)
{
    const QColor color = p.brush().color();
    QPainterPath mark;
    mark.addRect(QRectF(s * 0.46, s * 0.44, s * 0.08, s * 0.3));
    mark.addEllipse(QRectF(s * 0.45, s * 0.27, s * 0.1, s * 0.1));
    if (filled) {
        QPainterPath disc;
        disc.addEllipse(QRectF(s * 0.08, s * 0.08, s * 0.84, s * 0.84));
        p.setPen(Qt::NoPen);
        p.drawPath(disc.subtracted(mark));
        return;
    }
    p.setPen(QPen(color, std::max(1.0, s / 14)));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(s * 0.1, s * 0.1, s * 0.8, s * 0.8));
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPath(mark);
}

void code(QPainter &p, qreal s)
{
    p.setPen(
        QPen(p.brush().color(), std::max(1.5, s / 12), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    const QPointF left[] = {{s * 0.3, s * 0.28}, {s * 0.1, s * 0.5}, {s * 0.3, s * 0.72}};
    const QPointF right[] = {{s * 0.7, s * 0.28}, {s * 0.9, s * 0.5}, {s * 0.7, s * 0.72}};
    p.drawPolyline(left, 3);
    p.drawPolyline(right, 3);
    p.drawLine(QPointF(s * 0.58, s * 0.2), QPointF(s * 0.42, s * 0.8));
}
} // namespace

namespace SymbolFallback {
void draw(QPainter &painter, const QString &name, const QRectF &box, const QColor &color)
{
    painter.save();
    painter.translate(box.topLeft());
    const qreal s = std::min(box.width(), box.height());
    painter.setBrush(color);
    painter.setPen(Qt::NoPen);
    if (name == QLatin1String("touchid")) {
        fingerprint(painter, s);
    } else if (name.startsWith(QLatin1String("lock"))) {
        padlock(painter, s, name == QLatin1String("lock.open"),
                name.contains(QLatin1String("exclamationmark")));
    } else if (name.startsWith(QLatin1String("checkmark"))) {
        checkmark(painter, s, name.contains(QLatin1String("circle")));
    } else if (name.startsWith(QLatin1String("exclamationmark.triangle"))) {
        warningTriangle(painter, s);
    } else if (name.startsWith(QLatin1String("info.circle"))) {
        infoCircle(painter, s, name.endsWith(QLatin1String(".fill")));
    } else if (name.startsWith(QLatin1String("chevron.left.forwardslash"))) {
        code(painter, s);
    } else {
        painter.drawEllipse(QRectF(s * 0.2, s * 0.2, s * 0.6, s * 0.6));
    }
    painter.restore();
}
} // namespace SymbolFallback
