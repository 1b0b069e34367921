#pragma once

#include <QImage>
#include <qqmlregistration.h>
#include <QQuickItem>

// An item that shows one picture made on the CPU, drawn stretched over the
// item with linear filtering. Backdrops are made of these because such a
// texture costs nothing to show again and renders the same on the OpenGL and
// the software scene graph, where shader effects draw black.
class TextureItem : public QQuickItem
{
    Q_OBJECT
    QML_ANONYMOUS
    Q_DISABLE_COPY_MOVE(TextureItem)
    // Texture pixels per device pixel. Smooth content needs few: the
    // backdrops use a quarter and are scaled up when drawn.
    Q_PROPERTY(qreal resolution READ resolution WRITE setResolution NOTIFY resolutionChanged)

public:
    explicit TextureItem(QQuickItem *parent = nullptr);
    ~TextureItem() override;

    [[nodiscard]] qreal resolution() const { return m_resolution; }
    void setResolution(qreal resolution);

    // The last picture made, for tests and snapshots.
    [[nodiscard]] QImage image() const { return m_image; }

Q_SIGNALS:
    void resolutionChanged();

protected:
    // Makes the picture for an item of `size` points at `pixelsPerPoint`;
    // a subclass may return a smaller one where the content allows (a flat
    // colour needs one pixel). A null image draws nothing.
    [[nodiscard]] virtual QImage render(QSizeF size, qreal pixelsPerPoint) const = 0;
    // Asks for the picture to be made again before the next frame.
    void invalidate();

    void updatePolish() override;
    QSGNode *updatePaintNode(QSGNode *oldNode, UpdatePaintNodeData *data) override;
    void geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry) override;
    void itemChange(ItemChange change, const ItemChangeData &value) override;

private:
    QImage m_image;
    bool m_textureDirty = false;
    qreal m_resolution = 0.25;
};
