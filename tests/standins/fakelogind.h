#pragma once

#include <QDBusConnection>
#include <QDBusUnixFileDescriptor>
#include <QList>
#include <QMutex>
#include <QObject>

// The inhibitor part of org.freedesktop.login1.Manager. Like logind it hands
// out one end of a pipe per inhibitor and counts the inhibitor as released once
// every copy of that end is closed. Safe to query from another thread.
class FakeLogind : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FakeLogind)
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")

public:
    struct Inhibitor
    {
        QString what;
        QString who;
        QString why;
        QString mode;
    };

    explicit FakeLogind(QObject *parent = nullptr);
    ~FakeLogind() override;

    // Takes org.freedesktop.login1 on a connection of its own to the system bus.
    bool publish();
    void vanish();

    [[nodiscard]] QList<Inhibitor> inhibitors() const;
    [[nodiscard]] bool isReleased(qsizetype index) const;

public Q_SLOTS:
    QDBusUnixFileDescriptor Inhibit(const QString &what, const QString &who, const QString &why,
                                    const QString &mode);

private:
    mutable QMutex m_mutex;
    QString m_connectionName;
    QList<Inhibitor> m_inhibitors;
    // Our end of each inhibitor's pipe: it reports an error once no reader is left.
    QList<int> m_writeEnds;
};
