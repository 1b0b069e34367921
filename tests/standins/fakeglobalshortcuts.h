#pragma once

#include <QDBusContext>
#include <QDBusObjectPath>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

// The desktop portal's org.freedesktop.portal.GlobalShortcuts. Like the
// portal it answers through Response signals of request objects at the
// paths the caller's handle_token names, and keeps sessions until their
// org.freedesktop.portal.Session.Close.
class FakeGlobalShortcuts : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FakeGlobalShortcuts)
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.GlobalShortcuts")
    Q_PROPERTY(uint version READ version CONSTANT)

public:
    struct Shortcut
    {
        QString id;
        QVariantMap properties;
    };
    struct Binding
    {
        QString session;
        QString id;
        QString description;
        QString trigger;
    };

    explicit FakeGlobalShortcuts(QObject *parent = nullptr);
    ~FakeGlobalShortcuts() override;

    // Takes org.freedesktop.portal.Desktop on a connection of its own.
    bool publish();
    void vanish();

    [[nodiscard]] uint version() const { return 1; }
    [[nodiscard]] const QStringList &sessions() const { return m_sessions; }
    [[nodiscard]] const QStringList &closedSessions() const { return m_closedSessions; }
    [[nodiscard]] const QList<Binding> &bindings() const { return m_bindings; }

    // A press and a release of a shortcut, as the desktop reports them.
    void press(const QString &session, const QString &id);
    void release(const QString &session, const QString &id);

public Q_SLOTS:
    QDBusObjectPath CreateSession(const QVariantMap &options);
    QDBusObjectPath BindShortcuts(const QDBusObjectPath &session,
                                  const QList<FakeGlobalShortcuts::Shortcut> &shortcuts,
                                  const QString &parentWindow, const QVariantMap &options);
    // Of the session objects.
    void Close();

private:
    QString objectPath(const QString &kind, const QVariantMap &options, const QString &key);
    void respond(const QString &request, const QVariantMap &results);
    void emitSignal(const QString &name, const QString &session, const QString &id);

    QString m_connectionName;
    QStringList m_sessions;
    QStringList m_closedSessions;
    QList<Binding> m_bindings;
};
