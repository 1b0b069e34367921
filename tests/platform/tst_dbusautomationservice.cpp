#include "platform/automationhandler.h"
#include "platform/linux/dbusautomationclient.h"
#include "platform/linux/dbusautomationservice.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QTest>
#include <QTimer>

namespace {
class RecordingHandler : public AutomationHandler
{
public:
    void lockScreen(std::function<void(const QString &)> answer) override
    {
        calls << QStringLiteral("lock");
        answer(refusal);
    }
    bool unlockScreen(const QString &pin) override
    {
        calls << QStringLiteral("unlock ") + pin;
        return pin == QLatin1String("1234");
    }
    // Answers later, as the desktop does; 99 minutes are refused.
    void keepAwake(int minutes, std::function<void(const QString &)> answer) override
    {
        calls << QStringLiteral("keep-awake %1").arg(minutes);
        QTimer::singleShot(0, [minutes, answer = std::move(answer)] {
            answer(minutes == 99 ? QStringLiteral("Cannot keep awake: no logind") : QString());
        });
    }
    void stopKeepAwake() override { calls << QStringLiteral("stop"); }
    [[nodiscard]] QString status() const override { return QStringLiteral("Vostrel: Idle."); }
    void reopen() override { calls << QStringLiteral("reopen"); }

    QStringList calls;
    QString refusal;
};
} // namespace

class TestDBusAutomationService : public QObject
{
    Q_OBJECT

private:
    RecordingHandler m_handler;
    std::unique_ptr<DBusAutomationService> m_service;

    // A second connection, as a script in another process would have.
    static QDBusMessage callFromOutside(const QString &interface, const QString &method,
                                        const QVariantList &arguments)
    {
        QDBusConnection client = QDBusConnection::connectToBus(
            QString::fromLocal8Bit(qgetenv("DBUS_SESSION_BUS_ADDRESS")), QStringLiteral("client"));
        QDBusMessage message = QDBusMessage::createMethodCall(
            QLatin1String(DBusAutomationService::serviceName),
            QLatin1String(DBusAutomationService::objectPath), interface, method);
        message.setArguments(arguments);
        return client.call(message, QDBus::BlockWithGui, 5000);
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
            QSKIP("needs the private session bus of scripts/with-session");
        m_service = std::make_unique<DBusAutomationService>(m_handler);
        QVERIFY2(m_service->registerOnSessionBus(), qPrintable(m_service->errorString()));
    }

    void init()
    {
        m_handler.calls.clear();
        m_handler.refusal.clear();
    }

    void actionsReachTheHandler()
    {
        const QString iface = QLatin1String(DBusAutomationService::interfaceName);
        QCOMPARE(callFromOutside(iface, QStringLiteral("LockScreen"), {}).type(),
                 QDBusMessage::ReplyMessage);
        QCOMPARE(callFromOutside(iface, QStringLiteral("UnlockScreen"), {QStringLiteral("0000")})
                     .arguments()
                     .value(0),
                 QVariant(false));
        QCOMPARE(callFromOutside(iface, QStringLiteral("UnlockScreen"), {QStringLiteral("1234")})
                     .arguments()
                     .value(0),
                 QVariant(true));
        QCOMPARE(callFromOutside(iface, QStringLiteral("KeepAwake"), {15}).type(),
                 QDBusMessage::ReplyMessage);
        const QDBusMessage refused = callFromOutside(iface, QStringLiteral("KeepAwake"), {99});
        QCOMPARE(refused.errorName(), QLatin1String(DBusAutomationService::refusedErrorName));
        QCOMPARE(refused.errorMessage(), QStringLiteral("Cannot keep awake: no logind"));
        callFromOutside(iface, QStringLiteral("StopKeepAwake"), {});
        QCOMPARE(callFromOutside(iface, QStringLiteral("GetStatus"), {}).arguments().value(0),
                 QVariant(QStringLiteral("Vostrel: Idle.")));
        QCOMPARE(m_handler.calls,
                 (QStringList{QStringLiteral("lock"), QStringLiteral("unlock 0000"),
                              QStringLiteral("unlock 1234"), QStringLiteral("keep-awake 15"),
                              QStringLiteral("keep-awake 99"), QStringLiteral("stop")}));
    }

    void wrongTypesAreRefusedByTheBus_data()
    {
        QTest::addColumn<QString>("method");
        QTest::addColumn<QVariantList>("arguments");
        QTest::addRow("PIN as a number") << QStringLiteral("UnlockScreen") << QVariantList{1234};
        QTest::addRow("no PIN") << QStringLiteral("UnlockScreen") << QVariantList{};
        QTest::addRow("minutes as text")
            << QStringLiteral("KeepAwake") << QVariantList{QStringLiteral("15")};
        QTest::addRow("extra argument") << QStringLiteral("LockScreen") << QVariantList{true};
        QTest::addRow("unknown method") << QStringLiteral("Unlock") << QVariantList{};
    }

    void wrongTypesAreRefusedByTheBus()
    {
        QFETCH(QString, method);
        QFETCH(QVariantList, arguments);
        const QDBusMessage reply =
            callFromOutside(QLatin1String(DBusAutomationService::interfaceName), method, arguments);
        QCOMPARE(reply.type(), QDBusMessage::ErrorMessage);
        QVERIFY(m_handler.calls.isEmpty());
    }

    void launchingAgainReopens()
    {
        const QDBusMessage reply = callFromOutside(QStringLiteral("org.freedesktop.Application"),
                                                   QStringLiteral("Activate"), {QVariantMap{}});
        QCOMPARE(reply.type(), QDBusMessage::ReplyMessage);
        callFromOutside(QStringLiteral("org.freedesktop.Application"),
                        QStringLiteral("ActivateAction"),
                        {QStringLiteral("lock-screen"), QVariantList{}, QVariantMap{}});
        QCOMPARE(m_handler.calls, (QStringList{QStringLiteral("reopen"), QStringLiteral("lock")}));
    }

    void aRefusedLockIsAnErrorThatSaysWhy()
    {
        m_handler.refusal = QStringLiteral("No PIN is set: open Vostrel to choose one");
        const QDBusMessage reply = callFromOutside(
            QLatin1String(DBusAutomationService::interfaceName), QStringLiteral("LockScreen"), {});
        QCOMPARE(reply.type(), QDBusMessage::ErrorMessage);
        QCOMPARE(reply.errorName(), QLatin1String(DBusAutomationService::refusedErrorName));
        QCOMPARE(reply.errorMessage(), m_handler.refusal);

        const DBusAutomationClient::Reply client =
            DBusAutomationClient::call(QStringLiteral("LockScreen"));
        QVERIFY(client.delivered);
        QVERIFY(client.refused);
        QCOMPARE(client.error, m_handler.refusal);
        QCOMPARE(m_handler.calls, QStringList(2, QStringLiteral("lock")));
    }

    void aSecondInstanceCannotTakeTheName()
    {
        QDBusConnection second = QDBusConnection::connectToBus(
            QString::fromLocal8Bit(qgetenv("DBUS_SESSION_BUS_ADDRESS")), QStringLiteral("second"));
        QVERIFY(!second.registerService(QLatin1String(DBusAutomationService::serviceName)));
    }
};

QTEST_GUILESS_MAIN(TestDBusAutomationService)
#include "tst_dbusautomationservice.moc"
