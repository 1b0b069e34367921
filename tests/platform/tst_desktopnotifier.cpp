#include "platform/automationhandler.h"
#include "platform/linux/dbusautomationservice.h"
#include "platform/linux/desktopnotifier.h"
#include "standins/fakenotificationserver.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QSignalSpy>
#include <QTest>

namespace {
class StatusHandler : public AutomationHandler
{
public:
    void lockScreen(std::function<void(const QString &)> answer) override
    {
        ++locks;
        answer(refusal);
    }
    bool unlockScreen(const QString &) override { return false; }
    void keepAwake(int, std::function<void(const QString &)> answer) override
    {
        ++keepAwakes;
        answer({});
    }
    void stopKeepAwake() override {}
    [[nodiscard]] QString status() const override { return text; }
    void reopen() override {}

    QString text = QStringLiteral("Vostrel: Idle.");
    QString refusal;
    int locks = 0;
    int keepAwakes = 0;
};
} // namespace

class TestDesktopNotifier : public QObject
{
    Q_OBJECT

private:
    QStringList m_fallback;

    void recordFallback(DesktopNotifier &notifier)
    {
        notifier.setFallback([this](const QString &summary, const QString &body) {
            m_fallback << summary + QLatin1Char('|') + body;
        });
    }

    static bool showAndWait(DesktopNotifier &notifier, const QString &body, bool *byServer)
    {
        QSignalSpy shown(&notifier, &DesktopNotifier::shown);
        notifier.show(QStringLiteral("Vostrel"), body);
        if (!shown.wait(10000))
            return false;
        *byServer = shown.first().first().toBool();
        return true;
    }

    // As a launcher activates an action: from another connection.
    static QDBusMessage activateAction(const QString &name)
    {
        QDBusConnection launcher = QDBusConnection::connectToBus(
            QString::fromLocal8Bit(qgetenv("DBUS_SESSION_BUS_ADDRESS")),
            QStringLiteral("launcher"));
        QDBusMessage message = QDBusMessage::createMethodCall(
            QLatin1String(DBusAutomationService::serviceName),
            QLatin1String(DBusAutomationService::objectPath),
            QStringLiteral("org.freedesktop.Application"), QStringLiteral("ActivateAction"));
        message << name << QVariantList{} << QVariantMap{};
        return launcher.call(message, QDBus::BlockWithGui, 5000);
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
            QSKIP("needs the private session bus of scripts/with-session");
    }

    void init() { m_fallback.clear(); }

    void showsThroughTheServerAndReplacesItsLastNotification()
    {
        FakeNotificationServer server;
        QVERIFY(server.publish());
        DesktopNotifier notifier;
        recordFallback(notifier);

        bool byServer = false;
        QVERIFY(showAndWait(notifier, QStringLiteral("Vostrel: Idle."), &byServer));
        QVERIFY(byServer);
        QVERIFY(showAndWait(notifier, QStringLiteral("Vostrel: Screen locked. "), &byServer));
        QVERIFY(byServer);

        const QList<FakeNotificationServer::Notification> shown = server.notifications();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown.at(0).appName, QStringLiteral("Vostrel"));
        QCOMPARE(shown.at(0).appIcon, QStringLiteral("app.vostrel.Vostrel"));
        QCOMPARE(shown.at(0).summary, QStringLiteral("Vostrel"));
        QCOMPARE(shown.at(0).body, QStringLiteral("Vostrel: Idle."));
        QCOMPARE(shown.at(0).hints.value(QStringLiteral("desktop-entry")).toString(),
                 QStringLiteral("app.vostrel.Vostrel"));
        QCOMPARE(shown.at(0).replacesId, 0u);
        // The trailing blank of the status text survives the trip.
        QCOMPARE(shown.at(1).body, QStringLiteral("Vostrel: Screen locked. "));
        QCOMPARE(shown.at(1).replacesId, shown.at(0).id);
        QCOMPARE(shown.at(1).id, shown.at(0).id);
        QVERIFY(m_fallback.isEmpty());
    }

    void fallsBackWhenNoServerTakesIt_data()
    {
        QTest::addColumn<bool>("serverBeforeLeaving");
        QTest::addRow("no server at all") << false;
        QTest::addRow("server gone after the first") << true;
    }

    void fallsBackWhenNoServerTakesIt()
    {
        QFETCH(bool, serverBeforeLeaving);
        DesktopNotifier notifier;
        recordFallback(notifier);
        bool byServer = false;
        if (serverBeforeLeaving) {
            FakeNotificationServer server;
            QVERIFY(server.publish());
            QVERIFY(showAndWait(notifier, QStringLiteral("first"), &byServer));
            QVERIFY(byServer);
        }
        QVERIFY(showAndWait(notifier, QStringLiteral("Vostrel: Idle."), &byServer));
        QVERIFY(!byServer);
        QCOMPARE(m_fallback, QStringList{QStringLiteral("Vostrel|Vostrel: Idle.")});
    }

    void theLauncherActionsReachTheApplication()
    {
        FakeNotificationServer server;
        QVERIFY(server.publish());
        StatusHandler handler;
        handler.text = QStringLiteral("Vostrel: Keeping awake. AI agents: claude. ");
        DBusAutomationService service(handler);
        QVERIFY2(service.registerOnSessionBus(), qPrintable(service.errorString()));

        QSignalSpy notified(&server, &FakeNotificationServer::notified);
        QCOMPARE(activateAction(QStringLiteral("get-status")).type(), QDBusMessage::ReplyMessage);
        // The launcher's blocking call may already have let the reply through.
        QTRY_COMPARE_WITH_TIMEOUT(notified.size(), 1, 10000);
        QCOMPARE(server.notifications().constLast().body, handler.text);

        QCOMPARE(activateAction(QStringLiteral("lock-screen")).type(), QDBusMessage::ReplyMessage);
        QCOMPARE(activateAction(QStringLiteral("keep-awake")).type(), QDBusMessage::ReplyMessage);
        QCOMPARE(activateAction(QStringLiteral("no-such-action")).type(),
                 QDBusMessage::ReplyMessage);
        QCOMPARE(handler.locks, 1);
        QCOMPARE(handler.keepAwakes, 1);
        QCOMPARE(server.notifications().size(), 1);

        // A launcher has nowhere to show a refused lock but a notification.
        handler.refusal = QStringLiteral("No PIN is set: open Vostrel to choose one");
        QCOMPARE(activateAction(QStringLiteral("lock-screen")).type(), QDBusMessage::ReplyMessage);
        QTRY_COMPARE_WITH_TIMEOUT(notified.size(), 2, 10000);
        QCOMPARE(server.notifications().constLast().body, handler.refusal);
    }
};

QTEST_GUILESS_MAIN(TestDesktopNotifier)
#include "tst_desktopnotifier.moc"
