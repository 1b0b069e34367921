#pragma once

#include <QDBusContext>
#include <QDBusObjectPath>
#include <QList>
#include <QObject>
#include <QVariantMap>

// The desktop portal's org.freedesktop.portal.Inhibit. Like the portal it
// answers Inhibit with a request object, and the inhibition lasts until that
// object's org.freedesktop.portal.Request.Close is called.
class FakePortalInhibit : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FakePortalInhibit)
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Inhibit")

public:
    struct Inhibition
    {
        uint flags;
        bool isClosed;
    };

    explicit FakePortalInhibit(QObject *parent = nullptr);
    ~FakePortalInhibit() override;

    // Takes org.freedesktop.portal.Desktop on a connection of its own.
    bool publish();
    void vanish();

    [[nodiscard]] const QList<Inhibition> &inhibitions() const { return m_inhibitions; }

public Q_SLOTS:
    QDBusObjectPath Inhibit(const QString &window, uint flags, const QVariantMap &options);
    // Of the request objects.
    void Close();

private:
    QString m_connectionName;
    QList<Inhibition> m_inhibitions;
};
