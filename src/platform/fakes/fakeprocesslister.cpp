#include "platform/fakes/fakeprocesslister.h"

std::optional<QByteArray> FakeProcessLister::commandNames()
{
    return answer(m_commandNames, m_commandNamesCalls);
}

std::optional<QByteArray> FakeProcessLister::cpuUsage(const QList<QByteArray> &)
{
    return answer(m_cpuUsage, m_cpuUsageCalls);
}

std::optional<QByteArray> FakeProcessLister::answer(const std::optional<QByteArray> &output,
                                                    int &calls)
{
    QMutexLocker locker(&m_mutex);
    ++calls;
    m_lastThread = QThread::currentThread();
    while (m_isHeld)
        m_released.wait(&m_mutex);
    return output;
}

void FakeProcessLister::setCommandNames(std::optional<QByteArray> output)
{
    QMutexLocker locker(&m_mutex);
    m_commandNames = std::move(output);
}

void FakeProcessLister::setCpuUsage(std::optional<QByteArray> output)
{
    QMutexLocker locker(&m_mutex);
    m_cpuUsage = std::move(output);
}

void FakeProcessLister::hold()
{
    QMutexLocker locker(&m_mutex);
    m_isHeld = true;
}

void FakeProcessLister::release()
{
    QMutexLocker locker(&m_mutex);
    m_isHeld = false;
    m_released.wakeAll();
}

int FakeProcessLister::commandNamesCalls() const
{
    QMutexLocker locker(&m_mutex);
    return m_commandNamesCalls;
}

int FakeProcessLister::cpuUsageCalls() const
{
    QMutexLocker locker(&m_mutex);
    return m_cpuUsageCalls;
}

QThread *FakeProcessLister::lastCallThread() const
{
    QMutexLocker locker(&m_mutex);
    return m_lastThread;
}
