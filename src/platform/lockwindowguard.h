#pragma once

#include <QList>
#include <QObject>

#include <chrono>

class QWindow;

// Holds the lock's windows in place while locked: above every other window,
// with the keyboard and the pointer grabbed so that nothing typed reaches a
// window underneath. A grab that another client holds is retried until it
// succeeds; `isInputGrabbed` tells whether the lock owns the input yet.
class LockWindowGuard : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LockWindowGuard)

public:
    using QObject::QObject;
    ~LockWindowGuard() override = default;

    // Called for every panel before it is first shown: the window must read
    // black from the moment it is mapped, before its content is drawn.
    virtual void prepare(QWindow *panel) = 0;
    // Starts guarding `panels` (called again when the set of screens changes);
    // input goes to `focusPanel`, which must be one of them.
    virtual void engage(const QList<QWindow *> &panels, QWindow *focusPanel) = 0;
    // Tries for the grabs at once and keeps trying, without returning to the
    // event loop, until they are held or the time is up: for taking over from
    // a client known to let go any moment (the crash guard standing down).
    virtual bool seizeInput(std::chrono::milliseconds timeout) = 0;
    // Gives up the grabs, takes the panels off the screen and stops watching
    // the window stack.
    virtual void release() = 0;
    [[nodiscard]] virtual bool isInputGrabbed() const = 0;

Q_SIGNALS:
    void inputGrabbedChanged(bool grabbed);
};
