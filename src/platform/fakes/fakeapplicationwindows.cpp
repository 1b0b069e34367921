#include "platform/fakes/fakeapplicationwindows.h"

QList<ApplicationWindows::Id> FakeApplicationWindows::clientList()
{
    QMutexLocker locker(&m_mutex);
    return m_list;
}

std::optional<ApplicationWindows::Window> FakeApplicationWindows::window(Id id)
{
    QMutexLocker locker(&m_mutex);
    for (const Window &window : std::as_const(m_windows)) {
        if (window.id == id)
            return window;
    }
    return std::nullopt;
}

void FakeApplicationWindows::setWindows(const QList<Window> &windows)
{
    QMutexLocker locker(&m_mutex);
    m_windows = windows;
    m_list.clear();
    for (const Window &window : windows)
        m_list.append(window.id);
}

void FakeApplicationWindows::addVanishedWindow(Id id)
{
    QMutexLocker locker(&m_mutex);
    m_list.append(id);
}
