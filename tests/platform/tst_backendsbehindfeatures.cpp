// The features over the real backends they run on in the application: what
// the fakes of the feature tests cannot show.
#include "core/preferencekeys.h"
#include "core/preferences.h"
#include "overlay/pinmanager.h"
#include "overlay/unlockflow.h"
#include "platform/linux/fprintdauthenticator.h"
#include "platform/linux/xcbkeygrabber.h"
#include "platform/linux/xdgautostartloginitem.h"
#include "settings/generalsettings.h"
#include "standins/fakefprintd.h"
#include "triggers/hotkeymanager.h"

#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

namespace {
constexpr quint64 command = 0x100000;
constexpr quint16 keyL = 37;
} // namespace

class TestBackendsBehindFeatures : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_dir.emplace();
        m_defaults.emplace(m_dir->filePath(QStringLiteral("defaults.json")));
    }
    void cleanup()
    {
        m_defaults.reset();
        m_dir.reset();
    }

    void autostartEntryIsWrittenAndRemoved()
    {
        const QString folder = m_dir->filePath(QStringLiteral("config/autostart"));
        XdgAutostartLoginItem item(folder, QStringLiteral("/opt/My \"Apps\"/vostrel"));
        QVERIFY(item.registerItem().ok);
        QFile entry(folder + QStringLiteral("/vostrel.desktop"));
        QVERIFY(entry.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(entry.readAll());
        QVERIFY(text.startsWith(QStringLiteral("[Desktop Entry]\n")));
        QVERIFY(text.contains(QStringLiteral("\nType=Application\n")));
        // Quoted, the inner quotes escaped for the Exec rule and again for the
        // string rule.
        QVERIFY(text.contains(QStringLiteral("\nExec=\"/opt/My \\\\\"Apps\\\\\"/vostrel\"\n")));
        entry.close();
        QVERIFY(item.unregisterItem().ok);
        QVERIFY(!entry.exists());
        // Already gone counts as removed.
        QVERIFY(item.unregisterItem().ok);
    }

    void unwritableAutostartFolderReportsAndReverts()
    {
        // A file where the folder should be: neither mkpath nor the entry works.
        const QString blocker = m_dir->filePath(QStringLiteral("autostart"));
        QFile file(blocker);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        XdgAutostartLoginItem item(blocker, QStringLiteral("/usr/bin/vostrel"));
        GeneralSettings general(*m_defaults, item);
        general.setLaunchAtLogin(true);
        QVERIFY(!general.launchAtLogin());
        QVERIFY2(general.loginError().contains(blocker), qPrintable(general.loginError()));
    }

    // The X server of the test session stands in for another application.
    void conflictAndPressOnARealServer()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            QSKIP("needs an X display: run inside scripts/with-session");
        XcbKeyGrabber otherApplication;
        XcbKeyGrabber grabber;
        QCOMPARE(otherApplication.grab(keyL, command), KeyGrabber::GrabResult::Grabbed);

        HotkeyManager manager(*m_defaults, grabber);
        int calls = 0;
        manager.registerHandler([&calls] { ++calls; });
        QVERIFY(manager.hasConflict());
        QVERIFY(manager.isLocalMonitorInstalled());

        otherApplication.ungrab();
        manager.registerHandler([&calls] { ++calls; });
        QVERIFY(!manager.hasConflict());
        QVERIFY(manager.isGlobalMonitorInstalled());

        QProcess xdotool;
        xdotool.start(QStringLiteral("xdotool"),
                      {QStringLiteral("key"), QStringLiteral("super+l")});
        QVERIFY(xdotool.waitForFinished(5000));
        QCOMPARE(xdotool.exitCode(), 0);
        QTRY_COMPARE(calls, 1);
        grabber.processPendingEvents();
        QCoreApplication::processEvents();
        QCOMPARE(calls, 1);
    }

    void aFingerNotRecognisedThenTheRightOneUnlocksThroughFprintd()
    {
        if (qEnvironmentVariableIsEmpty("DBUS_SYSTEM_BUS_ADDRESS"))
            QSKIP("needs the private system bus of scripts/with-session");
        FakeFprintd daemon;
        QVERIFY(daemon.start());
        daemon.setBehaviour(FakeFprintd::Behaviour::NeverAnswers);
        FprintdAuthenticator reader;
        PINManager pins(*m_defaults, reader);
        UnlockFlow flow(pins, *m_defaults);
        m_defaults->setBool(PreferenceKey::fingerprintEnabled, true);
        QSignalSpy unlocked(&flow, &UnlockFlow::unlockRequested);
        const auto verifications = [&] {
            return daemon.calls().count(QStringLiteral("VerifyStart(any)"));
        };

        flow.appeared();
        QTRY_VERIFY(daemon.isVerifying());
        daemon.sendVerifyStatus(QStringLiteral("verify-no-match"), true);
        QTRY_COMPARE(flow.touchCaption(), QStringLiteral("Not recognised"));
        QTRY_COMPARE(verifications(), 2);
        daemon.sendVerifyStatus(QStringLiteral("verify-match"), true);
        QTRY_COMPARE(unlocked.count(), 1);
        QVERIFY(!daemon.isClaimed());

        // The lock ends while the reader listens, and the next one asks for
        // it before it has been given back: it gets an attempt of its own.
        flow.reset();
        flow.retryFingerprint();
        QTRY_COMPARE(verifications(), 3);
        flow.reset();
        pins.cancelBiometrics();
        std::optional<bool> next;
        pins.authenticateWithBiometrics([&](bool success) { next = success; });
        QTRY_COMPARE(verifications(), 4);
        QVERIFY(!next.has_value());
        daemon.sendVerifyStatus(QStringLiteral("verify-match"), true);
        QTRY_COMPARE(next, std::optional<bool>(true));
        QCOMPARE(unlocked.count(), 1);
    }

private:
    std::optional<QTemporaryDir> m_dir;
    std::optional<Preferences> m_defaults;
};

QTEST_MAIN(TestBackendsBehindFeatures)
#include "tst_backendsbehindfeatures.moc"
