#include "platform/fakes/fakekeygrabber.h"

FakeKeyGrabber::FakeKeyGrabber(QObject *parent)
    : KeyGrabber(parent)
{}

FakeKeyGrabber::~FakeKeyGrabber() = default;

KeyGrabber::GrabResult FakeKeyGrabber::grab(quint16 keyCode, quint64 modifierFlags)
{
    ungrab();
    if (!m_isSupported)
        return GrabResult::Unavailable;
    const Combination combination{keyCode, modifierFlags};
    m_requests.append(combination);
    if (m_result == GrabResult::Grabbed)
        m_held = combination;
    return m_result;
}

void FakeKeyGrabber::ungrab()
{
    m_held.reset();
}

bool FakeKeyGrabber::press()
{
    if (!m_held)
        return false;
    Q_EMIT activated();
    return true;
}
