#pragma once

#include <QObject>
#include <QTimer>

#include <chrono>

class IdleTimeSource;
class LockTarget;
class Preferences;

// Raises the lock once nobody has touched the keyboard or the pointer for the
// chosen number of minutes. The preferences are read at every poll, so turning
// the feature off or changing the minutes takes effect at the next one.
class IdleMonitor : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(IdleMonitor)
    Q_PROPERTY(bool isMonitoring READ isMonitoring NOTIFY isMonitoringChanged)

public:
    static constexpr std::chrono::seconds pollInterval{5};
    static constexpr int defaultMinutes = 10;

    explicit IdleMonitor(IdleTimeSource &source, Preferences &defaults, LockTarget &target,
                         QObject *parent = nullptr);
    ~IdleMonitor() override;

    // Stored minutes of 0, below 0 or absent count as the default.
    [[nodiscard]] static int thresholdMinutes(qint64 storedMinutes);
    [[nodiscard]] int thresholdMinutes() const;

    [[nodiscard]] bool isMonitoring() const { return m_isMonitoring; }
    // Begins polling; further calls do nothing. There is no stop: the monitor
    // polls for the life of the process.
    void start();

    // The poll, public so tests drive the clock.
    void poll();

Q_SIGNALS:
    void isMonitoringChanged();

private:
    [[nodiscard]] bool isArmed() const;

    IdleTimeSource &m_source;
    Preferences &m_defaults;
    LockTarget &m_target;
    QTimer m_timer;
    bool m_isMonitoring = false;
};
