#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QHash>
#include <QList>
#include <QMutex>
#include <QObject>

// org.freedesktop.ScreenSaver's inhibition calls. Its D-Bus methods may run on
// another thread than the test's (a synchronous caller would otherwise wait on
// itself), so what it records is read through locked accessors.
class FakeScreenSaver : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FakeScreenSaver)
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")

public:
    struct Inhibition
    {
        QString application;
        QString reason;
    };

    explicit FakeScreenSaver(QObject *parent = nullptr);
    ~FakeScreenSaver() override;

    // Takes the well-known name on a connection of its own to the session bus.
    bool publish();
    // Leaves the bus as a crashing screen saver would.
    void vanish();

    // Inhibit calls are then left unanswered.
    void setHung(bool hung);

    [[nodiscard]] QHash<uint, Inhibition> inhibitions() const;
    [[nodiscard]] QList<uint> uninhibited() const;

public Q_SLOTS:
    uint Inhibit(const QString &application, const QString &reason);
    void UnInhibit(uint cookie);

private:
    mutable QMutex m_mutex;
    QString m_connectionName;
    QHash<uint, Inhibition> m_inhibitions;
    QList<uint> m_uninhibited;
    uint m_nextCookie = 1;
    bool m_isHung = false;
};
