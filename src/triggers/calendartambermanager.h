#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QVariant>

#include <chrono>
#include <functional>
#include <optional>

class CalendarStore;
class LockTarget;
class Preferences;

// Raises the lock while a calendar event that looks like focused or meeting
// time is in progress: its title holds one of the keywords, or it blocks the
// time. Checks every 30 seconds while the feature is on and the calendars can
// be read. The calendar never lowers the lock.
class CalendarTamberManager : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CalendarTamberManager)
    Q_PROPERTY(bool isEnabled READ isEnabled WRITE setEnabled NOTIFY isEnabledChanged)
    Q_PROPERTY(bool hasAccess READ hasAccess NOTIFY hasAccessChanged)
    // The title of the event that raised the lock; undefined in QML when none.
    Q_PROPERTY(QVariant currentEvent READ currentEventValue NOTIFY currentEventChanged)

public:
    static constexpr std::chrono::seconds checkInterval{30};
    // Events overlapping now ± this margin are asked for.
    static constexpr std::chrono::seconds queryMargin{60};

    using Clock = std::function<QDateTime()>;

    // Reads "calendarTamberEnabled" and the store's access status, and starts
    // monitoring when both are true. No access request is made here.
    explicit CalendarTamberManager(CalendarStore &store, Preferences &defaults, LockTarget &target,
                                   Clock clock = {}, QObject *parent = nullptr);
    ~CalendarTamberManager() override;

    // Tried in this order, each as a substring of the lower-cased title.
    [[nodiscard]] static const QStringList &keywords();

    [[nodiscard]] bool isEnabled() const { return m_isEnabled; }
    [[nodiscard]] bool hasAccess() const { return m_hasAccess; }
    [[nodiscard]] std::optional<QString> currentEvent() const { return m_currentEvent; }
    [[nodiscard]] QVariant currentEventValue() const;
    // The lock has been raised for the current run of matching events.
    [[nodiscard]] bool isCalendarLocked() const { return m_isCalendarLocked; }
    [[nodiscard]] bool isMonitoring() const { return m_timer.isActive(); }

    // Stores the value; monitoring is started or stopped by the caller.
    Q_INVOKABLE void setEnabled(bool value);
    // Asks the store for access; on a grant, monitoring starts.
    Q_INVOKABLE void requestAccess();
    Q_INVOKABLE void startMonitoring();
    Q_INVOKABLE void stopMonitoring();

    // The 30-second check, public so tests can drive it.
    void checkEvents();

Q_SIGNALS:
    void isEnabledChanged();
    void hasAccessChanged();
    void currentEventChanged();

private:
    void setHasAccess(bool value);
    void setCurrentEvent(const std::optional<QString> &title);
    void followStoreAccess();

    CalendarStore &m_store;
    Preferences &m_defaults;
    LockTarget &m_target;
    Clock m_clock;
    QTimer m_timer;
    bool m_isEnabled = false;
    bool m_hasAccess = false;
    bool m_isCalendarLocked = false;
    std::optional<QString> m_currentEvent;
};
