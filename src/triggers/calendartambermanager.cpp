#include "triggers/calendartambermanager.h"

#include "core/preferencekeys.h"
#include "core/preferences.h"
#include "platform/calendarstore.h"
#include "triggers/locktarget.h"
#include "triggers/triggerslog.h"

#include <QPointer>
#include <QtDebug>

namespace {
bool matches(const CalendarEvent &event, const QDateTime &now)
{
    if (event.start > now || event.end <= now)
        return false;
    const QString title = event.title.toLower();
    for (const QString &keyword : CalendarTamberManager::keywords()) {
        if (title.contains(keyword))
            return true;
    }
    return event.availability == CalendarEvent::Availability::Busy;
}
} // namespace

CalendarTamberManager::CalendarTamberManager(CalendarStore &store, Preferences &defaults,
                                             LockTarget &target, Clock clock, QObject *parent)
    : QObject(parent)
    , m_store(store)
    , m_defaults(defaults)
    , m_target(target)
    , m_clock(clock ? std::move(clock) : Clock([] { return QDateTime::currentDateTimeUtc(); }))
{
    m_timer.setInterval(checkInterval);
    connect(&m_timer, &QTimer::timeout, this, &CalendarTamberManager::checkEvents);
    // Where access is decided by whether the calendars can be read, it is
    // known only some time after launch and can come and go; following it
    // keeps a feature left on working after a restart.
    connect(&m_store, &CalendarStore::accessChanged, this,
            &CalendarTamberManager::followStoreAccess);

    m_isEnabled = m_defaults.boolValue(PreferenceKey::calendarTamberEnabled);
    m_hasAccess = m_store.hasFullAccess();
    if (m_isEnabled)
        startMonitoring();
}

CalendarTamberManager::~CalendarTamberManager() = default;

const QStringList &CalendarTamberManager::keywords()
{
    static const QStringList words{QStringLiteral("focus"), QStringLiteral("meeting"),
                                   QStringLiteral("tamber"), QStringLiteral("dnd"),
                                   QStringLiteral("deep work")};
    return words;
}

QVariant CalendarTamberManager::currentEventValue() const
{
    return m_currentEvent ? QVariant(*m_currentEvent) : QVariant();
}

void CalendarTamberManager::setEnabled(bool value)
{
    m_defaults.setBool(PreferenceKey::calendarTamberEnabled, value);
    if (m_isEnabled == value)
        return;
    m_isEnabled = value;
    Q_EMIT isEnabledChanged();
}

void CalendarTamberManager::requestAccess()
{
    m_store.requestFullAccess(this, [this](bool granted) {
        setHasAccess(granted);
        if (granted)
            startMonitoring();
    });
}

void CalendarTamberManager::startMonitoring()
{
    if (!m_isEnabled || !m_hasAccess)
        return;
    m_timer.start();
    checkEvents();
}

void CalendarTamberManager::stopMonitoring()
{
    m_timer.stop();
}

void CalendarTamberManager::checkEvents()
{
    if (!m_isEnabled || !m_hasAccess)
        return;
    const QDateTime now = m_clock();
    const QList<CalendarEvent> events =
        m_store.events(now.addSecs(-queryMargin.count()), now.addSecs(queryMargin.count()));
    const CalendarEvent *match = nullptr;
    for (const CalendarEvent &event : events) {
        if (matches(event, now)) {
            match = &event;
            break;
        }
    }

    if (!match) {
        if (m_isCalendarLocked) {
            setCurrentEvent(std::nullopt);
            m_isCalendarLocked = false;
        }
        return;
    }
    // Something else raised the lock first: the flag stays down, so unlocking
    // later inside the event brings the lock back at the next check.
    if (m_isCalendarLocked || m_target.isLocked())
        return;
    setCurrentEvent(match->title);
    m_isCalendarLocked = true;
    m_target.lock();
    // A refused lock (no PIN yet) leaves the flag down, so a PIN chosen
    // during the event brings the lock up at the next check.
    if (!m_target.isLocked()) {
        m_isCalendarLocked = false;
        setCurrentEvent(std::nullopt);
    }
}

void CalendarTamberManager::setHasAccess(bool value)
{
    if (m_hasAccess == value)
        return;
    m_hasAccess = value;
    Q_EMIT hasAccessChanged();
}

void CalendarTamberManager::setCurrentEvent(const std::optional<QString> &title)
{
    if (m_currentEvent == title)
        return;
    m_currentEvent = title;
    Q_EMIT currentEventChanged();
}

void CalendarTamberManager::followStoreAccess()
{
    const bool granted = m_store.hasFullAccess();
    if (granted == m_hasAccess)
        return;
    setHasAccess(granted);
    if (granted)
        startMonitoring();
    else
        stopMonitoring();
}
