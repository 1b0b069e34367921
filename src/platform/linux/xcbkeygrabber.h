#pragma once

#include "platform/keygrabber.h"

#include <QByteArray>

#include <memory>

// Global hotkeys on X11: a passive key grab on the root window, held through
// a connection of its own so that Qt's connection and its event handling are
// never disturbed. The same combination is also grabbed with Caps Lock and
// Num Lock on, since X compares the whole modifier state.
class XcbKeyGrabber : public KeyGrabber
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(XcbKeyGrabber)

public:
    // An empty displayName means $DISPLAY.
    explicit XcbKeyGrabber(const QByteArray &displayName = {}, QObject *parent = nullptr);
    ~XcbKeyGrabber() override;

    // False without an X server, and in a Wayland session, where the X server
    // (Xwayland) sees keys only while one of its own clients has the focus.
    [[nodiscard]] bool isGlobalGrabSupported() const override;
    GrabResult grab(quint16 keyCode, quint64 modifierFlags) override;
    void ungrab() override;

    // Makes a round trip to the server and handles every event it sent
    // before answering, so a caller knows no earlier key press is still on
    // its way.
    void processPendingEvents();

private:
    struct Private;

    void readEvents();
    void handleEvent(const void *event);
    void regrabAfterMappingChange();

    std::unique_ptr<Private> m_d;
};
