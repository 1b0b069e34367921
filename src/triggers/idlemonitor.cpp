#include "triggers/idlemonitor.h"

#include "core/preferencekeys.h"
#include "core/preferences.h"
#include "platform/idletimesource.h"
#include "triggers/locktarget.h"

#include <QPointer>

#include <limits>

IdleMonitor::IdleMonitor(IdleTimeSource &source, Preferences &defaults, LockTarget &target,
                         QObject *parent)
    : QObject(parent)
    , m_source(source)
    , m_defaults(defaults)
    , m_target(target)
    , m_timer(this)
{
    m_timer.setInterval(pollInterval);
    connect(&m_timer, &QTimer::timeout, this, &IdleMonitor::poll);
}

IdleMonitor::~IdleMonitor() = default;

int IdleMonitor::thresholdMinutes(qint64 storedMinutes)
{
    // The panel offers at most 30; anything an int cannot hold is a damaged
    // file, not a wish to wait for years.
    if (storedMinutes <= 0 || storedMinutes > std::numeric_limits<int>::max() / 60)
        return defaultMinutes;
    return static_cast<int>(storedMinutes);
}

int IdleMonitor::thresholdMinutes() const
{
    return thresholdMinutes(m_defaults.integer(PreferenceKey::autoLockMinutes));
}

void IdleMonitor::start()
{
    if (m_isMonitoring)
        return;
    m_isMonitoring = true;
    m_timer.start();
    Q_EMIT isMonitoringChanged();
}

bool IdleMonitor::isArmed() const
{
    return m_defaults.boolValue(PreferenceKey::autoLockEnabled) && !m_target.isLocked();
}

void IdleMonitor::poll()
{
    if (!isArmed())
        return;
    QPointer<IdleMonitor> self(this);
    m_source.queryIdleSeconds([self](double idle) {
        // The answer may arrive late: the user may have locked, unlocked or
        // turned the feature off meanwhile.
        if (!self || !self->isArmed())
            return;
        if (double(self->thresholdMinutes()) * 60.0 <= idle)
            self->m_target.lock();
    });
}
