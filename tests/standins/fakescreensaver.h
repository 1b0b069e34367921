#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
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
    // Grants the calls held back while hung, late.
    void answerHeldBack();
    [[nodiscard]] qsizetype heldBack() const;

    [[nodiscard]] QHash<uint, Inhibition> inhibitions() const;
    [[nodiscard]] QList<uint> uninhibited() const;

public Q_SLOTS:
    uint Inhibit(const QString &application, const QString &reason);
    void UnInhibit(uint cookie);

protected:
    // Another service with the same two calls.
    FakeScreenSaver(QString service, QString path, QObject *parent);

private:
    mutable QMutex m_mutex;
    QString m_service;
    QString m_path;
    QString m_connectionName;
    QHash<uint, Inhibition> m_inhibitions;
    QList<uint> m_uninhibited;
    QList<QDBusMessage> m_heldBack;
    uint m_nextCookie = 1;
    bool m_isHung = false;
};

// org.freedesktop.PowerManagement.Inhibit as xfce4-power-manager offers it:
// the screen saver's calls under another name.
class FakePowerManagement : public FakeScreenSaver
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FakePowerManagement)
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.PowerManagement.Inhibit")

public:
    explicit FakePowerManagement(QObject *parent = nullptr);
};
