#include "platform/linux/keyrepeatfilter.h"

bool KeyRepeatFilter::press(quint8 keycode, quint32 time)
{
    const bool pairedWithRelease =
        m_lastRelease && m_lastRelease->keycode == keycode && m_lastRelease->time == time;
    const bool isRepeat = m_down.test(keycode) || pairedWithRelease;
    m_down.set(keycode);
    m_lastRelease.reset();
    return !isRepeat;
}

void KeyRepeatFilter::release(quint8 keycode, quint32 time)
{
    m_down.reset(keycode);
    m_lastRelease = Release{keycode, time};
}

void KeyRepeatFilter::reset()
{
    m_down.reset();
    m_lastRelease.reset();
}
