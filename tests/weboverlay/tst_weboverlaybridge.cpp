#include "core/preferencekeys.h"
#include "core/preferences.h"
#include "overlay/pinmanager.h"
#include "platform/fakes/fakebiometricauthenticator.h"
#include "weboverlay/fileaccessinterceptor.h"
#include "weboverlay/weboverlaybridge.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {
QVariantMap message(std::initializer_list<std::pair<const char *, QVariant>> fields)
{
    QVariantMap map;
    for (const auto &[key, value] : fields)
        map.insert(QString::fromLatin1(key), value);
    return map;
}

QVariant text(const char *value)
{
    return QString::fromLatin1(value);
}

void touch(const QString &path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<p>hi</p>");
}
} // namespace

class TestWebOverlayBridge : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Preferences> m_defaults;
    FakeBiometricAuthenticator m_reader;
    std::unique_ptr<PINManager> m_pins;

private Q_SLOTS:
    void init()
    {
        QFile::remove(m_dir.filePath(QStringLiteral("defaults.json")));
        QFile::remove(m_dir.filePath(QStringLiteral("lockout.json")));
        m_defaults = std::make_unique<Preferences>(m_dir.filePath(QStringLiteral("defaults.json")));
        m_defaults->setString(PreferenceKey::storedPIN,
                              PINManager::encodePIN(QStringLiteral("1234")));
        m_pins = std::make_unique<PINManager>(*m_defaults, m_reader);
    }

    void cleanup()
    {
        m_pins.reset();
        m_defaults.reset();
    }

    void messageValidation_data()
    {
        QTest::addColumn<QVariant>("body");
        QTest::addColumn<QVariant>("pin"); // invalid: the message is ignored
        const QVariant unlock = text("unlock");
        const char *action = "action";
        const char *pin = "pin";
        QTest::addRow("unlock") << QVariant(message({{action, unlock}, {pin, text("1234")}}))
                                << QVariant(QStringLiteral("1234"));
        QTest::addRow("empty PIN")
            << QVariant(message({{action, unlock}, {pin, QString()}})) << QVariant(QString());
        QTest::addRow("extra string field")
            << QVariant(message({{action, unlock}, {pin, text("1")}, {"from", text("page")}}))
            << QVariant(QStringLiteral("1"));
        QTest::addRow("PIN as number")
            << QVariant(message({{action, unlock}, {pin, qlonglong(1234)}})) << QVariant();
        QTest::addRow("PIN as double")
            << QVariant(message({{action, unlock}, {pin, 12.5}})) << QVariant();
        QTest::addRow("PIN as null")
            << QVariant(message({{action, unlock}, {pin, QVariant::fromValue(nullptr)}}))
            << QVariant();
        QTest::addRow("other field not text")
            << QVariant(message({{action, unlock}, {pin, text("1234")}, {"n", true}}))
            << QVariant();
        QTest::addRow("nested")
            << QVariant(message({{action, unlock}, {pin, text("1234")}, {"more", QVariantMap()}}))
            << QVariant();
        QTest::addRow("PIN missing") << QVariant(message({{action, unlock}})) << QVariant();
        QTest::addRow("action missing") << QVariant(message({{pin, text("1234")}})) << QVariant();
        QTest::addRow("other action")
            << QVariant(message({{action, text("lock")}, {pin, text("1234")}})) << QVariant();
        QTest::addRow("action in capitals")
            << QVariant(message({{action, text("Unlock")}, {pin, text("1234")}})) << QVariant();
        QTest::addRow("action padded")
            << QVariant(message({{action, text("unlock ")}, {pin, text("1234")}})) << QVariant();
        QTest::addRow("a string") << QVariant(QStringLiteral("unlock")) << QVariant();
        QTest::addRow("a list") << QVariant(QVariantList{unlock, text("1234")}) << QVariant();
        QTest::addRow("nothing") << QVariant() << QVariant();
    }

    void messageValidation()
    {
        QFETCH(QVariant, body);
        QFETCH(QVariant, pin);
        const auto result = WebOverlayBridge::unlockPIN(body);
        QCOMPARE(result.has_value(), pin.isValid());
        if (result)
            QCOMPARE(*result, pin.toString());
    }

    void rightPINUnlocksFromTheEventLoop()
    {
        WebOverlayBridge bridge;
        bridge.setPinVerifier(m_pins.get());
        QSignalSpy unlocked(&bridge, &WebOverlayBridge::unlocked);
        bridge.handleMessage(message({{"action", text("unlock")}, {"pin", text("1234")}}));
        QCOMPARE(unlocked.count(), 0);
        QVERIFY(unlocked.wait(1000));
        QCOMPARE(unlocked.count(), 1);
    }

    void wrongPINsCountTowardsTheLockout()
    {
        m_defaults->setInteger(PreferenceKey::maxPINAttempts, 2);
        WebOverlayBridge bridge;
        bridge.setPinVerifier(m_pins.get());
        QSignalSpy unlocked(&bridge, &WebOverlayBridge::unlocked);
        const QVariantMap wrong = message({{"action", text("unlock")}, {"pin", text("0000")}});
        bridge.handleMessage(wrong);
        QCOMPARE(m_pins->failedAttempts(), 1);
        // Ignored messages count nothing.
        bridge.handleMessage(message({{"action", text("unlock")}, {"pin", qlonglong(0)}}));
        bridge.handleMessage(message({{"action", text("unlock")}}));
        QCOMPARE(m_pins->failedAttempts(), 1);
        bridge.handleMessage(wrong);
        QVERIFY(m_pins->isLockedOut());
        // Locked out: even the right PIN from the page does nothing.
        bridge.handleMessage(message({{"action", text("unlock")}, {"pin", text("1234")}}));
        QCoreApplication::processEvents();
        QCOMPARE(unlocked.count(), 0);
    }

    void withoutAVerifierNothingUnlocks()
    {
        WebOverlayBridge bridge;
        QSignalSpy unlocked(&bridge, &WebOverlayBridge::unlocked);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("no PIN verifier")));
        bridge.handleMessage(message({{"action", text("unlock")}, {"pin", text("1234")}}));
        QObject notAVerifier;
        bridge.setPinVerifier(&notAVerifier);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("has no verifyPIN")));
        bridge.handleMessage(message({{"action", text("unlock")}, {"pin", text("1234")}}));
        QCoreApplication::processEvents();
        QCOMPARE(unlocked.count(), 0);
    }

    void contentPerTheme_data()
    {
        QTest::addColumn<QString>("theme");
        QTest::addColumn<QString>("htmlPath"); // relative to the test folder
        QTest::addColumn<QString>("websiteURL");
        QTest::addColumn<QString>("page"); // relative, or an address
        QTest::addColumn<QString>("placeholder");
        const QString html = QStringLiteral("custom_html");
        const QString web = QStringLiteral("custom_website");
        QTest::addRow("html file") << html << "site/lock.html"
                                   << ""
                                   << "site/lock.html"
                                   << "";
        QTest::addRow("html none") << html << ""
                                   << ""
                                   << ""
                                   << "No HTML file selected";
        QTest::addRow("html missing file") << html << "site/gone.html"
                                           << ""
                                           << ""
                                           << "";
        QTest::addRow("html folder") << html << "site"
                                     << ""
                                     << ""
                                     << "";
        QTest::addRow("website") << web << "site/lock.html"
                                 << " https://example.org/ "
                                 << "https://example.org/"
                                 << "";
        QTest::addRow("website localhost") << web << ""
                                           << "http://localhost:8000"
                                           << "http://localhost:8000"
                                           << "";
        QTest::addRow("website none") << web << ""
                                      << ""
                                      << ""
                                      << "No website URL";
        QTest::addRow("website http host") << web << ""
                                           << "http://example.org"
                                           << ""
                                           << "No website URL";
        QTest::addRow("other theme") << "charcoal"
                                     << "site/lock.html"
                                     << "https://example.org/"
                                     << ""
                                     << "";
    }

    void contentPerTheme()
    {
        QFETCH(QString, theme);
        QFETCH(QString, htmlPath);
        QFETCH(QString, websiteURL);
        QFETCH(QString, page);
        QFETCH(QString, placeholder);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("site")));
        touch(dir.filePath(QStringLiteral("site/lock.html")));

        WebOverlayBridge bridge;
        QSignalSpy changed(&bridge, &WebOverlayBridge::contentChanged);
        bridge.setWebsiteURL(websiteURL);
        bridge.setHtmlPath(htmlPath.isEmpty() ? QString() : dir.filePath(htmlPath));
        bridge.setTheme(theme);
        const QUrl expected =
            page.contains(QLatin1Char(':'))
                ? QUrl(page)
                : (page.isEmpty() ? QUrl() : QUrl::fromLocalFile(dir.filePath(page)));
        QCOMPARE(bridge.pageURL(), expected);
        QCOMPARE(bridge.placeholderTitle(), placeholder);
        QCOMPARE(bridge.showsPlaceholder(), !placeholder.isEmpty());
        QCOMPARE(bridge.placeholderHint().isEmpty(), placeholder.isEmpty());
        QCOMPARE(bridge.readableFolder(),
                 expected.isLocalFile() ? dir.filePath(QStringLiteral("site")) : QString());

        // Setting the same values again is no change: the page is not reloaded.
        const int changes = int(changed.count());
        bridge.setWebsiteURL(websiteURL + QStringLiteral(" "));
        bridge.setTheme(theme);
        QCOMPARE(changed.count(), changes);
    }

    void websiteChangeIsAContentChange()
    {
        WebOverlayBridge bridge;
        bridge.setTheme(QStringLiteral("custom_website"));
        bridge.setWebsiteURL(QStringLiteral("https://one.example/"));
        QSignalSpy changed(&bridge, &WebOverlayBridge::contentChanged);
        bridge.setWebsiteURL(QStringLiteral("https://two.example/"));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(bridge.pageURL(), QUrl(QStringLiteral("https://two.example/")));
    }

    void aWebsiteStillLoadingAtTheTimeoutIsGivenUp()
    {
        WebOverlayBridge bridge;
        bridge.setTheme(QStringLiteral("custom_website"));
        bridge.setWebsiteURL(QStringLiteral("https://one.example/"));
        QSignalSpy timedOut(&bridge, &WebOverlayBridge::timedOutChanged);

        // A load that ends in time is left alone.
        bridge.setPageLoading(true);
        bridge.setPageLoading(false);
        bridge.expireLoad();
        QVERIFY(!bridge.hasTimedOut());

        bridge.setPageLoading(true);
        bridge.expireLoad();
        QVERIFY(bridge.hasTimedOut());
        QCOMPARE(timedOut.count(), 1);
        // The stopped load ends; the next one starts afresh.
        bridge.setPageLoading(false);
        QVERIFY(bridge.hasTimedOut());
        bridge.setPageLoading(true);
        QVERIFY(!bridge.hasTimedOut());
        // So does a new address.
        bridge.expireLoad();
        QVERIFY(bridge.hasTimedOut());
        bridge.setWebsiteURL(QStringLiteral("https://two.example/"));
        QVERIFY(!bridge.hasTimedOut());

        // A local file does not wait on the network.
        WebOverlayBridge html;
        const QString path = m_dir.filePath(QStringLiteral("lock.html"));
        touch(path);
        html.setTheme(QStringLiteral("custom_html"));
        html.setHtmlPath(path);
        html.setPageLoading(true);
        html.expireLoad();
        QVERIFY(!html.hasTimedOut());
    }
};

QTEST_GUILESS_MAIN(TestWebOverlayBridge)
#include "tst_weboverlaybridge.moc"
