#pragma once

#include "powerassertions.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <QVariant>

#include <chrono>
#include <functional>
#include <limits>
#include <optional>

class NotificationCenter;

// Keeps the display and the system awake while the user is away behind the
// lock, without limit or for a fixed time. A period counts as running only
// while both the display and the system assertion are held.
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

public:
    // Longest timed period; a longer request is shortened to it.
    static constexpr std::chrono::seconds maximumDuration{std::numeric_limits<int>::max() / 1000};

    explicit KeepAwakeManager(PowerAssertions &assertions, NotificationCenter &notifications,
                              QObject *parent = nullptr);
    ~KeepAwakeManager() override;

    // Backed by the desktop's D-Bus inhibitors and the shared notification
    // centre. Never destroyed: the inhibitions end with the process.
    static KeepAwakeManager &shared();

    [[nodiscard]] bool isActive() const { return m_isActive; }
    [[nodiscard]] double remainingSeconds() const { return m_remainingSeconds; }
    [[nodiscard]] std::optional<double> totalDuration() const { return m_totalDuration; }
    [[nodiscard]] QVariant totalDurationValue() const;
    [[nodiscard]] QString remainingTimeText() const;

    // Does nothing while a period runs: a running period is never extended,
    // shortened or turned into an unlimited one.
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

private:
    void publish(const std::function<void()> &change);
    void releaseAssertions();

    PowerAssertions &m_assertions;
    NotificationCenter &m_notifications;
    PowerAssertions::Id m_displayAssertion = 0;
    PowerAssertions::Id m_systemAssertion = 0;
    bool m_isActive = false;
    double m_remainingSeconds = 0;
    std::optional<double> m_totalDuration;
    QTimer m_tickTimer;
    QTimer m_durationTimer;
};
