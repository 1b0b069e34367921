#pragma once

#include <QImage>
#include <QObject>
#include <QRegion>
#include <QUrl>
#include <QVariantMap>

#include <memory>

class QKeyEvent;
class QMouseEvent;
class QQmlComponent;
class QQmlEngine;
class QQuickItem;
class QQuickRenderControl;
class QQuickWindow;
class QTimer;

// A Qt Quick scene drawn by the software scene graph into one QImage, for a
// process that shows it on surfaces Qt does not know (the lock surfaces of a
// Wayland session lock). The image persists between frames because the
// software renderer repaints only what changed; frameReady() says what that
// was. Needs QT_QUICK_BACKEND=software.
class OffscreenQuickView : public QObject
{
    Q_OBJECT
public:
    explicit OffscreenQuickView(QQmlEngine *engine, QObject *parent = nullptr);
    ~OffscreenQuickView() override;
    Q_DISABLE_COPY_MOVE(OffscreenQuickView)

    // Loads an Item from url with initialProperties set before it is
    // complete. False, with errorString(), when it does not load or is not
    // an Item.
    bool setSource(const QUrl &url, const QVariantMap &initialProperties = {});
    [[nodiscard]] QString errorString() const { return m_error; }
    [[nodiscard]] QQuickItem *rootItem() const { return m_root; }
    [[nodiscard]] QQuickWindow *window() const;

    void resize(QSize size);
    [[nodiscard]] QSize size() const { return m_image.size(); }
    [[nodiscard]] const QImage &frame() const { return m_image; }

    // Renders now if the scene asked for it (the coalescing timer calls this).
    void render();

    // Events in the scene's coordinates, delivered as if the window had them.
    void sendKey(QKeyEvent &event);
    void sendMouse(QMouseEvent &event);

Q_SIGNALS:
    // damage: the part of frame that differs from the one before.
    void frameReady(const QImage &frame, const QRegion &damage);

private:
    void scheduleRender();
    void layoutRoot();
    QRegion takeDamage();

    QQmlEngine *m_engine = nullptr;
    std::unique_ptr<QQuickRenderControl> m_renderControl;
    std::unique_ptr<QQuickWindow> m_window;
    std::unique_ptr<QQmlComponent> m_component;
    QQuickItem *m_root = nullptr;
    QImage m_image;
    QImage m_shown; // the last frame handed out, to find what changed
    QTimer *m_renderTimer = nullptr;
    QString m_error;
    bool m_dirty = false;
    bool m_warned = false;
};
