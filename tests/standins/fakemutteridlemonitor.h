#pragma once

#include <QDBusContext>
#include <QObject>
#include <QString>

// GNOME's idle monitor (org.gnome.Mutter.IdleMonitor) with an idle time the
// test sets, or hung so that calls are never answered.
class FakeMutterIdleMonitor : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FakeMutterIdleMonitor)
    Q_CLASSINFO("D-Bus Interface", "org.gnome.Mutter.IdleMonitor")

public:
    explicit FakeMutterIdleMonitor(QObject *parent = nullptr);
    ~FakeMutterIdleMonitor() override;

    bool publish();
    void vanish();

    void setIdleMilliseconds(quint64 ms) { m_idleMilliseconds = ms; }
    void setHung(bool hung) { m_isHung = hung; }
    [[nodiscard]] int calls() const { return m_calls; }

public Q_SLOTS:
    quint64 GetIdletime();

private:
    QString m_connectionName;
    quint64 m_idleMilliseconds = 0;
    bool m_isHung = false;
    int m_calls = 0;
};
