#pragma once

#include "platform/processlister.h"

#include <QMutex>
#include <QThread>
#include <QWaitCondition>

// Answers with the output a test gives it (none stands for a ps that could
// not be run) and can be held, like a ps that hangs, until released. Safe
// to drive from the test's thread while the monitor's worker calls it.
class FakeProcessLister : public ProcessLister
{
public:
    [[nodiscard]] std::optional<QByteArray> commandNames() override;
    [[nodiscard]] std::optional<QByteArray>
    cpuUsage(const QList<QByteArray> &mentioning = {}) override;

    void setCommandNames(std::optional<QByteArray> output);
    void setCpuUsage(std::optional<QByteArray> output);

    // While held, every call waits until release().
    void hold();
    void release();

    [[nodiscard]] int commandNamesCalls() const;
    [[nodiscard]] int cpuUsageCalls() const;
    // The thread of the latest call.
    [[nodiscard]] QThread *lastCallThread() const;

private:
    std::optional<QByteArray> answer(const std::optional<QByteArray> &output, int &calls);

    mutable QMutex m_mutex;
    QWaitCondition m_released;
    bool m_isHeld = false;
    std::optional<QByteArray> m_commandNames = QByteArray();
    std::optional<QByteArray> m_cpuUsage = QByteArray();
    int m_commandNamesCalls = 0;
    int m_cpuUsageCalls = 0;
    QThread *m_lastThread = nullptr;
};
