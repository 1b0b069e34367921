#pragma once

#include <QColor>
#include <QRectF>
#include <QString>

class QPainter;

// Hand-drawn stand-ins for the symbols the lock screen cannot do without
// (padlocks, the fingerprint, check mark, warning, information, code), used
// when no icon theme provides them; any other name is a plain disc.
namespace SymbolFallback {
void draw(QPainter &painter, const QString &name, const QRectF &box, const QColor &color);
} // namespace SymbolFallback
