#pragma once

#include "platform/powerassertions.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <QVariant>

#include <chrono>
#include <functional>
#include <limits>
#include <optional>

// Keeps the display and the system awake while the user is away behind the
// lock, without limit or for a fixed time.
//
// A period runs from start() on, while the desktop is still being asked for
// the display and the system assertion, and for as long as at least one of
// them is held: whatever is held shows as running and is let go by stop().
// When both are refused the period ends by itself and `refusal` says why.
// Asking never holds up the caller (the lock is raised in the same turn).
class KeepAwakeManager : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(KeepAwakeManager)
    Q_PROPERTY(bool isActive READ isActive NOTIFY isActiveChanged)
    Q_PROPERTY(double remainingSeconds READ remainingSeconds NOTIFY remainingSecondsChanged)
    // undefined in QML for an unlimited period and when idle, else seconds.
    Q_PROPERTY(QVariant totalDuration READ totalDurationValue NOTIFY totalDurationChanged)
    // "45s", "2:05", "60:00"; empty when there is no time left to show.
    Q_PROPERTY(QString remainingTimeText READ remainingTimeText NOTIFY remainingTimeTextChanged)
    // Why the last period came to nothing, one short line; empty once a period
    // is asked for again.
    Q_PROPERTY(QString refusal READ refusal NOTIFY refusalChanged)

public:
    // Longest timed period; a longer request is shortened to it.
    static constexpr std::chrono::seconds maximumDuration{std::numeric_limits<int>::max() / 1000};

    explicit KeepAwakeManager(PowerAssertions &assertions, QObject *parent = nullptr);
    ~KeepAwakeManager() override;

    [[nodiscard]] bool isActive() const { return m_isActive; }
    [[nodiscard]] double remainingSeconds() const { return m_remainingSeconds; }
    [[nodiscard]] std::optional<double> totalDuration() const { return m_totalDuration; }
    [[nodiscard]] QVariant totalDurationValue() const;
    [[nodiscard]] QString remainingTimeText() const;
    [[nodiscard]] QString refusal() const { return m_refusal; }
    // A period runs and the desktop has granted nothing yet, nor refused all.
    [[nodiscard]] bool isAsking() const;

    // Does nothing while a period runs (or is still being asked for): a running
    // period is never extended, shortened or turned into an unlimited one.
    // A negative duration counts as 0 (the period ends at the next turn of the
    // event loop); one beyond maximumDuration is shortened to it.
    void start(std::optional<std::chrono::seconds> duration = std::nullopt);
    // The same for QML, which cannot pass an optional.
    Q_INVOKABLE void startUnlimited() { start(); }
    Q_INVOKABLE void startFor(int seconds) { start(std::chrono::seconds(seconds)); }
    Q_INVOKABLE void stop();

    // Timer callbacks, public so tests can drive the clock.
    void tick();
    void durationElapsed();

Q_SIGNALS:
    void isActiveChanged();
    void remainingSecondsChanged();
    void totalDurationChanged();
    void remainingTimeTextChanged();
    void refusalChanged();
    // Asking is over: something was granted, everything was refused, or the
    // period was stopped first.
    void settled();
    // A period started or ended, or what the desktop granted changed.
    void stateChanged();
    // Once a second while a period runs.
    void ticked();

private:
    struct Assertion
    {
        PowerAssertions::Id id = 0; // 0 once refused or released
        bool isHeld = false;
        QString refusal;
    };

    void granted(PowerAssertions::Id id);
    void refused(PowerAssertions::Id id, const QString &reason);
    [[nodiscard]] Assertion *assertion(PowerAssertions::Id id);
    void publish(const std::function<void()> &change);
    void releaseAssertions();

    PowerAssertions &m_assertions;
    Assertion m_display;
    Assertion m_system;
    QString m_refusal;
    bool m_isActive = false;
    double m_remainingSeconds = 0;
    std::optional<double> m_totalDuration;
    QTimer m_tickTimer;
    QTimer m_durationTimer;
};
