#pragma once

#include <QQuickView>
#include <QRect>

class TrayModel;
class QQmlEngine;

// The panel that drops from the tray icon: a frameless pop-up that shows
// TrayPanel.qml over a model of its own. While it is shown it holds the
// pointer, so that a click anywhere outside it, in this application or
// another, reaches it and closes it, as a menu does.
class TrayPanelWindow : public QQuickView
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TrayPanelWindow)

public:
    static constexpr QSize panelSize{280, 420};
    // Gap between the icon (or the pointer) and the panel.
    static constexpr int gap = 4;

    // Takes ownership of the model.
    TrayPanelWindow(QQmlEngine *engine, TrayModel *model);
    ~TrayPanelWindow() override;

    [[nodiscard]] TrayModel *model() const { return m_model; }
    [[nodiscard]] bool isPointerGrabbed() const { return m_pointerGrabbed; }

    // How far from a screen edge the pointer may be and still be taken to
    // be on a bar along that edge.
    static constexpr int barReach = 64;

    // Where the panel goes: centred under the icon, or over it when the icon
    // sits in the lower half of the screen; always inside the screen's
    // available area. When the tray gives no geometry, the pointer stands for
    // the icon: beside the bar it is on (the strip the available area leaves
    // out, or, where the desktop reports none, a bar as thick as twice the
    // pointer's distance from the nearest edge), else at the pointer.
    [[nodiscard]] static QRect frameFor(const QRect &iconGeometry, const QPoint &cursor,
                                        const QRect &screen, const QRect &screenArea);

    void popUp(const QRect &frame);
    // Takes the pointer, should the panel not hold it (another client had
    // it, or the lock took it while it was up).
    void grabPointer();

Q_SIGNALS:
    // A press outside the panel, or Escape: whoever owns it closes it.
    void dismissRequested();

protected:
    void exposeEvent(QExposeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void updateMask();

    TrayModel *m_model = nullptr;
    bool m_pointerGrabbed = false;
};
