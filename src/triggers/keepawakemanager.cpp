#include "keepawakemanager.h"

#include "dbuspowerassertions.h"
#include "notificationcenter.h"
#include "notificationnames.h"

#include <QLoggingCategory>

using namespace std::chrono_literals;

namespace {
Q_LOGGING_CATEGORY(lcKeepAwake, "vostrel.keepawake")

QString displayAssertionName()
{
    return QStringLiteral("Vostrel is keeping display awake");
}

QString systemAssertionName()
{
    return QStringLiteral("Vostrel is preventing system sleep");
}
} // namespace

KeepAwakeManager::KeepAwakeManager(PowerAssertions &assertions, NotificationCenter &notifications,
                                   QObject *parent)
    : QObject(parent)
    , m_assertions(assertions)
    , m_notifications(notifications)
    , m_tickTimer(this)
    , m_durationTimer(this)
{
    m_tickTimer.setInterval(1s);
    connect(&m_tickTimer, &QTimer::timeout, this, &KeepAwakeManager::tick);
    m_durationTimer.setSingleShot(true);
    connect(&m_durationTimer, &QTimer::timeout, this, &KeepAwakeManager::durationElapsed);
}

KeepAwakeManager::~KeepAwakeManager()
{
    releaseAssertions();
}

KeepAwakeManager &KeepAwakeManager::shared()
{
    // Never destroyed: tearing it down after the application object would stop
    // timers without an event dispatcher, and the desktop drops our inhibitions
    // when the process exits anyway.
    static KeepAwakeManager *const manager =
        new KeepAwakeManager(*new DBusPowerAssertions, NotificationCenter::shared());
    return *manager;
}

QVariant KeepAwakeManager::totalDurationValue() const
{
    return m_totalDuration ? QVariant(*m_totalDuration) : QVariant();
}

QString KeepAwakeManager::remainingTimeText() const
{
    if (!m_totalDuration || m_remainingSeconds <= 0)
        return {};
    const auto seconds = static_cast<qint64>(m_remainingSeconds);
    if (seconds < 60)
        return QStringLiteral("%1s").arg(seconds);
    // Minutes are not folded into hours: an hour reads 60:00.
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

void KeepAwakeManager::start(std::optional<std::chrono::seconds> duration)
{
    if (m_isActive)
        return;
    if (duration && *duration < 0s) {
        qCWarning(lcKeepAwake) << "negative keep-awake duration" << duration->count()
                               << "s; ending the period at once";
        duration = 0s;
    } else if (duration && *duration > maximumDuration) {
        qCWarning(lcKeepAwake) << "keep-awake duration" << duration->count()
                               << "s is too long; keeping awake for" << maximumDuration.count()
                               << "s";
        duration = maximumDuration;
    }

    const std::optional<PowerAssertions::Id> display =
        m_assertions.create(PowerAssertions::Kind::Display, displayAssertionName());
    const std::optional<PowerAssertions::Id> system =
        m_assertions.create(PowerAssertions::Kind::System, systemAssertionName());
    const bool granted = display && system;
    if (!granted) {
        // A period holds both or nothing. Half of one would keep the screen or
        // the machine awake while every view shows keep-awake as off, and stop()
        // would never let it go because no period is running.
        if (display)
            m_assertions.release(*display);
        if (system)
            m_assertions.release(*system);
        qCWarning(lcKeepAwake) << "keep-awake refused by the desktop (display"
                               << display.has_value() << "system" << system.has_value() << ")";
    }

    publish([&] {
        m_displayAssertion = granted ? *display : 0;
        m_systemAssertion = granted ? *system : 0;
        m_isActive = granted;
        m_totalDuration =
            duration ? std::optional<double>(double(duration->count())) : std::nullopt;
        m_remainingSeconds = duration ? double(duration->count()) : 0;
    });
    // A refused timed request still counts down, so whoever asked sees it run
    // its course; durationElapsed() then clears it.
    if (duration) {
        m_tickTimer.start();
        m_durationTimer.start(*duration);
    } else {
        m_tickTimer.stop();
        m_durationTimer.stop();
    }
    m_notifications.post(Notification::keepAwakeStateChanged);
}

void KeepAwakeManager::stop()
{
    if (!m_isActive)
        return;
    publish([this] {
        releaseAssertions();
        m_isActive = false;
        m_durationTimer.stop();
        m_tickTimer.stop();
        m_totalDuration.reset();
        m_remainingSeconds = 0;
    });
    m_notifications.post(Notification::keepAwakeStateChanged);
}

void KeepAwakeManager::tick()
{
    if (m_remainingSeconds <= 0)
        return;
    publish([this] { m_remainingSeconds -= 1; });
    m_notifications.post(Notification::keepAwakeTickUpdate);
}

void KeepAwakeManager::durationElapsed()
{
    // Only a timed period has a duration to run out.
    if (!m_totalDuration)
        return;
    if (m_isActive) {
        stop();
        return;
    }
    // The countdown of a refused request ends quietly: no period ran, so there
    // is no state change to announce, but the one-second tick must not go on
    // waking the process for the rest of its life.
    publish([this] {
        m_durationTimer.stop();
        m_tickTimer.stop();
        m_totalDuration.reset();
        m_remainingSeconds = 0;
    });
}

void KeepAwakeManager::publish(const std::function<void()> &change)
{
    const bool wasActive = m_isActive;
    const double remaining = m_remainingSeconds;
    const std::optional<double> total = m_totalDuration;
    const QString text = remainingTimeText();
    change();
    if (wasActive != m_isActive)
        Q_EMIT isActiveChanged();
    if (remaining != m_remainingSeconds)
        Q_EMIT remainingSecondsChanged();
    if (total != m_totalDuration)
        Q_EMIT totalDurationChanged();
    if (text != remainingTimeText())
        Q_EMIT remainingTimeTextChanged();
}

void KeepAwakeManager::releaseAssertions()
{
    if (m_displayAssertion != 0)
        m_assertions.release(std::exchange(m_displayAssertion, 0));
    if (m_systemAssertion != 0)
        m_assertions.release(std::exchange(m_systemAssertion, 0));
}
