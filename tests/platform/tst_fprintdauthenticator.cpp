#include "platform/linux/fprintdauthenticator.h"
#include "standins/fakefprintd.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QTest>

#include <pwd.h>
#include <unistd.h>

#include <memory>
#include <optional>

using namespace std::chrono_literals;

class TestFprintdAuthenticator : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<FakeFprintd> m_daemon;
    std::unique_ptr<FprintdAuthenticator> m_authenticator;
    std::optional<bool> m_answer;
    int m_answerCount = 0;
    int m_notRecognisedCount = 0;
    QObject m_caller;

    static QString user() { return QString::fromLocal8Bit(getpwuid(geteuid())->pw_name); }

    // Each verification after the first follows a finger that did not match.
    static QStringList fullAttempt(int verifications = 1)
    {
        QStringList calls{QStringLiteral("GetDefaultDevice"),
                          QStringLiteral("ListEnrolledFingers(%1)").arg(user()),
                          QStringLiteral("Claim(%1)").arg(user())};
        for (int i = 0; i < verifications; ++i)
            calls << QStringLiteral("VerifyStart(any)") << QStringLiteral("VerifyStop");
        return calls << QStringLiteral("Release");
    }

    void authenticate(const QObject *context = nullptr)
    {
        m_authenticator->authenticate(
            context ? context : &m_caller,
            [this](bool success) {
                m_answer = success;
                ++m_answerCount;
            },
            [this] { ++m_notRecognisedCount; });
    }

    // Until the reader is scanning for a finger.
    void waitForScanning() { QTRY_VERIFY(m_daemon->isVerifying()); }

private Q_SLOTS:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("DBUS_SYSTEM_BUS_ADDRESS"))
            QSKIP("needs the private system bus of scripts/with-session");
        QVERIFY(QDBusConnection::systemBus().isConnected());
    }

    void init()
    {
        // The previous test's daemon may still be leaving the bus.
        QTRY_VERIFY(!QDBusConnection::systemBus().interface()->isServiceRegistered(
            FakeFprintd::serviceName));
        m_daemon = std::make_unique<FakeFprintd>();
        QVERIFY(m_daemon->start());
        m_authenticator = std::make_unique<FprintdAuthenticator>();
        m_answer.reset();
        m_answerCount = 0;
        m_notRecognisedCount = 0;
    }

    void cleanup()
    {
        m_authenticator.reset();
        m_daemon.reset();
    }

    void noDaemon()
    {
        m_daemon->stop();
        authenticate();
        QTRY_VERIFY(m_answer.has_value());
        QCOMPARE(*m_answer, false);
        QVERIFY(!m_authenticator->isBusy());
    }

    void unavailableReaderIsNeverClaimed_data()
    {
        QTest::addColumn<FakeFprintd::Behaviour>("behaviour");
        QTest::addColumn<bool>("emptyList");
        QTest::addColumn<QStringList>("calls");
        QTest::addRow("no device") << FakeFprintd::Behaviour::NoDevice << false
                                   << QStringList{QStringLiteral("GetDefaultDevice")};
        const QStringList listed{QStringLiteral("GetDefaultDevice"),
                                 QStringLiteral("ListEnrolledFingers(%1)").arg(user())};
        QTest::addRow("no finger, empty list")
            << FakeFprintd::Behaviour::NoFingers << true << listed;
    }

    void unavailableReaderIsNeverClaimed()
    {
        QFETCH(FakeFprintd::Behaviour, behaviour);
        QFETCH(bool, emptyList);
        QFETCH(QStringList, calls);
        m_daemon->setBehaviour(behaviour);
        m_daemon->setNoFingersAsEmptyList(emptyList);
        authenticate();
        QTRY_VERIFY(m_answer.has_value());
        QCOMPARE(*m_answer, false);
        QCOMPARE(m_daemon->calls(), calls);
    }

    void verdicts_data()
    {
        QTest::addColumn<QString>("verdict");
        QTest::addColumn<bool>("success");
        QTest::addRow("match") << QStringLiteral("verify-match") << true;
        QTest::addRow("reader gone") << QStringLiteral("verify-disconnected") << false;
    }

    void verdicts()
    {
        QFETCH(QString, verdict);
        QFETCH(bool, success);
        m_daemon->setBehaviour(FakeFprintd::Behaviour::NeverAnswers);
        for (int attempt = 1; attempt <= 2; ++attempt) {
            m_answer.reset();
            authenticate();
            waitForScanning();
            m_daemon->sendVerifyStatus(verdict, true);
            QTRY_VERIFY(m_answer.has_value());
            QCOMPARE(*m_answer, success);
            // The reader is given back before the answer arrives, so the
            // next attempt finds it free.
            QVERIFY(!m_daemon->isClaimed());
            QVERIFY(!m_authenticator->isBusy());
        }
        QCOMPARE(m_daemon->calls(), fullAttempt() + fullAttempt());
        QCOMPARE(m_answerCount, 2);
        QCOMPARE(m_notRecognisedCount, 0);
    }

    void fingersNotRecognisedKeepTheReaderListening()
    {
        // fprintd ends a verification at a finger it does not know, and
        // keeps it running after a bad read.
        m_daemon->setBehaviour(FakeFprintd::Behaviour::NeverAnswers);
        authenticate();
        waitForScanning();
        m_daemon->sendVerifyStatus(QStringLiteral("verify-retry-scan"), false);
        m_daemon->sendVerifyStatus(QStringLiteral("verify-no-match"), true);
        QTRY_COMPARE(m_daemon->calls().count(QStringLiteral("VerifyStart(any)")), 2);
        waitForScanning();
        m_daemon->sendVerifyStatus(QStringLiteral("verify-finger-not-centered"), false);
        m_daemon->sendVerifyStatus(QStringLiteral("verify-match"), true);
        QTRY_VERIFY(m_answer.has_value());
        QCOMPARE(*m_answer, true);
        QCOMPARE(m_notRecognisedCount, 3);
        QCOMPARE(m_daemon->calls(), fullAttempt(2));
        QVERIFY(!m_daemon->isClaimed());
    }

    void verdictFromAnotherClientIsIgnored()
    {
        m_daemon->setBehaviour(FakeFprintd::Behaviour::NeverAnswers);
        authenticate();
        waitForScanning();
        QDBusConnection intruder =
            QDBusConnection::connectToBus(QDBusConnection::SystemBus, QStringLiteral("intruder"));
        QDBusMessage forged = QDBusMessage::createSignal(
            FakeFprintd::devicePath, QStringLiteral("net.reactivated.Fprint.Device"),
            QStringLiteral("VerifyStatus"));
        forged << QStringLiteral("verify-match") << true;
        QVERIFY(intruder.send(forged));
        // The bus handles the intruder's messages in order, so once this call
        // returns the forgery has been routed ahead of the real verdict below.
        QVERIFY(intruder.interface()->isServiceRegistered(FakeFprintd::serviceName));
        m_daemon->sendVerifyStatus(QStringLiteral("verify-disconnected"), true);
        QTRY_VERIFY(m_answer.has_value());
        QCOMPARE(*m_answer, false);
        QDBusConnection::disconnectFromBus(QStringLiteral("intruder"));
    }

    void silentReaderTimesOut()
    {
        m_daemon->setBehaviour(FakeFprintd::Behaviour::NeverAnswers);
        m_authenticator->setVerifyTimeout(300ms);
        authenticate();
        QTRY_VERIFY(m_answer.has_value());
        QCOMPARE(*m_answer, false);
        QCOMPARE(m_daemon->calls(), fullAttempt());
        QVERIFY(!m_daemon->isClaimed());
    }

    void unansweredClaimTimesOut()
    {
        m_daemon->setClaimAnswers(false);
        m_authenticator->setCallTimeout(300ms);
        authenticate();
        QTRY_VERIFY(m_answer.has_value());
        QCOMPARE(*m_answer, false);
        // The claim may have happened after all: it is released anyway.
        QCOMPARE(m_daemon->calls().last(), QStringLiteral("Release"));
        QVERIFY(!m_daemon->calls().contains(QStringLiteral("VerifyStart(any)")));
    }

    void cancelWhileScanning()
    {
        m_daemon->setBehaviour(FakeFprintd::Behaviour::NeverAnswers);
        authenticate();
        waitForScanning();
        m_authenticator->cancel();
        QTRY_VERIFY(m_answer.has_value());
        QCOMPARE(*m_answer, false);
        QCOMPARE(m_daemon->calls(), fullAttempt());
        QVERIFY(!m_daemon->isClaimed());
    }

    void daemonLeavesWhileScanning()
    {
        m_daemon->setBehaviour(FakeFprintd::Behaviour::NeverAnswers);
        authenticate();
        waitForScanning();
        QTRY_VERIFY(m_authenticator->isBusy());
        m_daemon->stop();
        // Well before the verify timeout of a minute.
        QTRY_VERIFY(m_answer.has_value());
        QCOMPARE(*m_answer, false);
        QVERIFY(!m_authenticator->isBusy());
    }

    void secondRequestWhileBusyIsRefused()
    {
        m_daemon->setBehaviour(FakeFprintd::Behaviour::NeverAnswers);
        authenticate();
        std::optional<bool> second;
        m_authenticator->authenticate(&m_caller, [&](bool success) { second = success; }, {});
        QCOMPARE(second, std::optional<bool>(false));
        waitForScanning();
        m_daemon->sendVerifyStatus(QStringLiteral("verify-match"), true);
        QTRY_VERIFY(m_answer.has_value());
        QCOMPARE(*m_answer, true);
        QCOMPARE(m_daemon->calls().count(QStringLiteral("Claim(%1)").arg(user())), 1);
    }

    void callerGoneBeforeTheVerdict()
    {
        m_daemon->setBehaviour(FakeFprintd::Behaviour::NeverAnswers);
        auto caller = std::make_unique<QObject>();
        authenticate(caller.get());
        waitForScanning();
        caller.reset();
        m_daemon->sendVerifyStatus(QStringLiteral("verify-match"), true);
        QTRY_VERIFY(!m_authenticator->isBusy());
        QCOMPARE(m_daemon->calls(), fullAttempt());
        QCOMPARE(m_answerCount, 0);
    }
};

QTEST_GUILESS_MAIN(TestFprintdAuthenticator)
#include "tst_fprintdauthenticator.moc"
