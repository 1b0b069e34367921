#include "themes/textureitem.h"

#include <QQuickWindow>
#include <QSGImageNode>

TextureItem::TextureItem(QQuickItem *parent)
    : QQuickItem(parent)
{
    setFlag(ItemHasContents, true);
}

TextureItem::~TextureItem() = default;

void TextureItem::setResolution(qreal resolution)
{
    if (!(resolution > 0) || qFuzzyCompare(resolution, m_resolution))
        return;
    m_resolution = resolution;
    Q_EMIT resolutionChanged();
    invalidate();
}

void TextureItem::invalidate()
{
    polish();
}

void TextureItem::updatePolish()
{
    const qreal ratio = window() ? window()->effectiveDevicePixelRatio() : 1.0;
    m_image = (width() > 0 && height() > 0) ? render(size(), m_resolution * ratio) : QImage();
    m_textureDirty = true;
    update();
}

QSGNode *TextureItem::updatePaintNode(QSGNode *oldNode, UpdatePaintNodeData *)
{
    auto *node = static_cast<QSGImageNode *>(oldNode);
    if (m_image.isNull()) {
        delete node;
        return nullptr;
    }
    if (!node) {
        node = window()->createImageNode();
        node->setOwnsTexture(true);
        m_textureDirty = true;
    }
    if (m_textureDirty) {
        node->setTexture(window()->createTextureFromImage(m_image));
        m_textureDirty = false;
    }
    node->setFiltering(QSGTexture::Linear);
    node->setRect(boundingRect());
    return node;
}

void TextureItem::geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry)
{
    QQuickItem::geometryChange(newGeometry, oldGeometry);
    if (newGeometry.size() != oldGeometry.size())
        invalidate();
}

void TextureItem::itemChange(ItemChange change, const ItemChangeData &value)
{
    QQuickItem::itemChange(change, value);
    if (change == ItemSceneChange || change == ItemDevicePixelRatioHasChanged)
        invalidate();
}
