#include "themes/symbol.h"

#include "themes/symbolfallback.h"
#include "themes/symboltable.h"

#include <QIcon>
#include <QPainter>

Symbol::Symbol(QQuickItem *parent)
    : TextureItem(parent)
{
    // Icons are sharp edges: one texture pixel per device pixel.
    setResolution(1.0);
    setImplicitSize(m_size, m_size);
}

void Symbol::setName(const QString &name)
{
    if (name == m_name)
        return;
    m_name = name;
    Q_EMIT nameChanged();
    invalidate();
}

void Symbol::setSymbolSize(qreal size)
{
    if (!(size >= 0) || size == m_size)
        return;
    m_size = size;
    setImplicitSize(size, size);
    Q_EMIT sizeChanged();
    invalidate();
}

void Symbol::setColor(const QColor &color)
{
    if (color == m_color)
        return;
    m_color = color;
    Q_EMIT colorChanged();
    invalidate();
}

QImage Symbol::draw(const QString &name, int pixels, const QColor &color, QString *usedIcon)
{
    if (pixels <= 0)
        return {};
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);

    const QString icon = SymbolTable::iconName(name);
    const QIcon themed = icon.isEmpty() ? QIcon() : QIcon::fromTheme(icon);
    if (!themed.isNull() && !themed.availableSizes().isEmpty()) {
        // Symbolic icons are drawn in one dark colour; only their shape is
        // kept and filled with ours.
        const QPixmap pixmap = themed.pixmap(QSize(pixels, pixels));
        const QSize drawn = pixmap.size().scaled(pixels, pixels, Qt::KeepAspectRatio);
        painter.drawPixmap(
            QRect(QPoint((pixels - drawn.width()) / 2, (pixels - drawn.height()) / 2), drawn),
            pixmap);
        painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        painter.fillRect(image.rect(), color);
        if (usedIcon)
            *usedIcon = icon;
        return image;
    }
    SymbolFallback::draw(painter, name, QRectF(0, 0, pixels, pixels), color);
    if (usedIcon)
        usedIcon->clear();
    return image;
}

QImage Symbol::render(QSizeF size, qreal pixelsPerPoint) const
{
    const qreal edge = std::min(size.width(), size.height());
    return draw(m_name, qCeil(edge * pixelsPerPoint), m_color, &m_renderedIcon);
}

void Symbol::updatePolish()
{
    TextureItem::updatePolish();
    if (m_renderedIcon != m_iconName) {
        m_iconName = m_renderedIcon;
        Q_EMIT iconNameChanged();
    }
}
