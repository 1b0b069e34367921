#include "triggers/keepawakemanager.h"

#include "platform/powerassertions.h"

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

KeepAwakeManager::KeepAwakeManager(PowerAssertions &assertions, QObject *parent)
    : QObject(parent)
    , m_assertions(assertions)
    , m_tickTimer(this)
    , m_durationTimer(this)
{
    m_tickTimer.setInterval(1s);
    connect(&m_tickTimer, &QTimer::timeout, this, &KeepAwakeManager::tick);
    m_durationTimer.setSingleShot(true);
    connect(&m_durationTimer, &QTimer::timeout, this, &KeepAwakeManager::durationElapsed);
    connect(&m_assertions, &PowerAssertions::granted, this, &KeepAwakeManager::granted);
    connect(&m_assertions, &PowerAssertions::refused, this, &KeepAwakeManager::refused);
}

KeepAwakeManager::~KeepAwakeManager()
{
    releaseAssertions();
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

    const PowerAssertions::Id display =
        m_assertions.request(PowerAssertions::Kind::Display, displayAssertionName());
    const PowerAssertions::Id system =
        m_assertions.request(PowerAssertions::Kind::System, systemAssertionName());
    publish([&] {
        m_display = {};
        m_display.id = display;
        m_system = {};
        m_system.id = system;
        m_isActive = true;
        m_refusal.clear();
        m_totalDuration =
            duration ? std::optional<double>(double(duration->count())) : std::nullopt;
        m_remainingSeconds = duration ? double(duration->count()) : 0;
    });
    if (duration) {
        m_tickTimer.start();
        m_durationTimer.start(*duration);
    }
    Q_EMIT stateChanged();
}

bool KeepAwakeManager::isAsking() const
{
    return m_isActive && !m_display.isHeld && !m_system.isHeld;
}

void KeepAwakeManager::stop()
{
    if (!m_isActive)
        return;
    const bool wasAsking = isAsking();
    publish([this] {
        releaseAssertions();
        m_isActive = false;
        m_durationTimer.stop();
        m_tickTimer.stop();
        m_totalDuration.reset();
        m_remainingSeconds = 0;
    });
    Q_EMIT stateChanged();
    if (wasAsking)
        Q_EMIT settled();
}

void KeepAwakeManager::tick()
{
    if (m_remainingSeconds <= 0)
        return;
    publish([this] { m_remainingSeconds -= 1; });
    Q_EMIT ticked();
}

void KeepAwakeManager::durationElapsed()
{
    // Only a timed period has a duration to run out.
    if (m_totalDuration)
        stop();
}

void KeepAwakeManager::granted(PowerAssertions::Id id)
{
    Assertion *const granted = assertion(id);
    if (!granted) {
        // Not ours (any more): nothing may stay held that no period shows.
        m_assertions.release(id);
        return;
    }
    const bool wasAsking = isAsking();
    granted->isHeld = true;
    if (wasAsking)
        Q_EMIT settled();
}

void KeepAwakeManager::refused(PowerAssertions::Id id, const QString &reason)
{
    Assertion *const refused = assertion(id);
    if (!refused)
        return;
    refused->id = 0;
    refused->refusal = reason;
    const bool display = refused == &m_display;
    qCWarning(lcKeepAwake).noquote()
        << (display ? "the display" : "the system") << "may sleep:" << reason;
    const Assertion &other = display ? m_system : m_display;
    if (other.id != 0)
        return;

    // Nothing holds the machine awake: the period ends here rather than show
    // as running while it protects nothing.
    publish([this] {
        m_isActive = false;
        m_durationTimer.stop();
        m_tickTimer.stop();
        m_totalDuration.reset();
        m_remainingSeconds = 0;
        m_refusal = tr("Cannot keep awake: %1; %2").arg(m_display.refusal, m_system.refusal);
    });
    Q_EMIT stateChanged();
    Q_EMIT settled();
}

KeepAwakeManager::Assertion *KeepAwakeManager::assertion(PowerAssertions::Id id)
{
    if (!m_isActive || id == 0)
        return nullptr;
    if (m_display.id == id)
        return &m_display;
    if (m_system.id == id)
        return &m_system;
    return nullptr;
}

void KeepAwakeManager::publish(const std::function<void()> &change)
{
    const bool wasActive = m_isActive;
    const double remaining = m_remainingSeconds;
    const std::optional<double> total = m_totalDuration;
    const QString text = remainingTimeText();
    const QString refusal = m_refusal;
    change();
    if (wasActive != m_isActive)
        Q_EMIT isActiveChanged();
    if (remaining != m_remainingSeconds)
        Q_EMIT remainingSecondsChanged();
    if (total != m_totalDuration)
        Q_EMIT totalDurationChanged();
    if (text != remainingTimeText())
        Q_EMIT remainingTimeTextChanged();
    if (refusal != m_refusal)
        Q_EMIT refusalChanged();
}

void KeepAwakeManager::releaseAssertions()
{
    for (Assertion *assertion : {&m_display, &m_system}) {
        if (assertion->id != 0)
            m_assertions.release(assertion->id);
        *assertion = {};
    }
}
