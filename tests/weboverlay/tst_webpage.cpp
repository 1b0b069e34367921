// The web lock screen with a real web engine on the session's display: pages
// that call the bridge, what they may read, and the website rule.
#include "core/preferencekeys.h"
#include "core/preferences.h"
#include "overlay/pinmanager.h"
#include "platform/fakes/fakebiometricauthenticator.h"
#include "standins/standinhttpserver.h"
#include "themes/themesmodule.h"
#include "weboverlay/weboverlaybridge.h"
#include "weboverlay/weboverlaymodule.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {
constexpr int pageTimeout = 30000;

QByteArray page(const QByteArray &body, const QByteArray &script = {})
{
    return "<!doctype html><html><head><meta charset='utf-8'><style>"
           "html,body{margin:0;height:100%;background:transparent;font-family:sans-serif}"
           "a{display:block;height:50%}</style></head><body>" +
           body + "<script>" + script + "</script></body></html>";
}

} // namespace

// The real PIN manager behind a counter, so a test can wait for each
// request that reached it.
class CountingVerifier : public QObject
{
    Q_OBJECT

public:
    explicit CountingVerifier(PINManager &pins)
        : m_pins(pins)
    {}

    Q_INVOKABLE bool verifyPIN(const QString &pin)
    {
        const bool matches = m_pins.verifyPIN(pin);
        Q_EMIT verified(pin, matches);
        return matches;
    }

Q_SIGNALS:
    void verified(const QString &pin, bool matches);

private:
    PINManager &m_pins;
};

class TestWebPage : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Preferences> m_defaults;
    FakeBiometricAuthenticator m_reader;
    std::unique_ptr<PINManager> m_pins;
    std::unique_ptr<CountingVerifier> m_verifier;
    std::unique_ptr<QQuickView> m_view;
    StandinHttpServer m_server;

    [[nodiscard]] QQuickItem *lockScreen() const
    {
        return m_view->rootObject()->findChild<QQuickItem *>(QStringLiteral("lock"));
    }
    [[nodiscard]] QQuickItem *webPage() const
    {
        return lockScreen()->property("page").value<QQuickItem *>();
    }

    QString writePage(const QString &name, const QByteArray &html)
    {
        const QString path = m_dir.filePath(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return {};
        file.write(html);
        return path;
    }

    // The lock screen's web layer over a backdrop of a colour no page uses.
    void show(const QString &theme, const QString &htmlPath, const QString &websiteURL)
    {
        m_view = std::make_unique<QQuickView>();
        m_view->engine()->addImportPath(QStringLiteral("qrc:/"));
        m_view->setResizeMode(QQuickView::SizeRootObjectToView);
        m_view->resize(800, 500);
        const QString wrapper =
            writePage(QStringLiteral("wrapper.qml"),
                      "import QtQuick\nimport Vostrel.WebOverlay\n"
                      "Rectangle { color: '#102030'\n"
                      "  WebLockScreen { objectName: 'lock'; anchors.fill: parent } }\n");
        m_view->setSource(QUrl::fromLocalFile(wrapper));
        QVERIFY2(m_view->rootObject(), qPrintable(m_view->errors().value(0).toString()));
        QQuickItem *lock = lockScreen();
        lock->setProperty("pinVerifier", QVariant::fromValue<QObject *>(m_verifier.get()));
        lock->setProperty("htmlPath", htmlPath);
        lock->setProperty("websiteURL", websiteURL);
        lock->setProperty("theme", theme);
        m_view->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
    }

    void waitForTitle(const QString &title)
    {
        QTRY_VERIFY_WITH_TIMEOUT(webPage(), pageTimeout);
        QTRY_COMPARE_WITH_TIMEOUT(webPage()->property("title").toString(), title, pageTimeout);
    }

private Q_SLOTS:
    void initTestCase() { prepareSymbolIcons(); }

    void init()
    {
        QFile::remove(m_dir.filePath(QStringLiteral("defaults.json")));
        QFile::remove(m_dir.filePath(QStringLiteral("lockout.json")));
        m_defaults = std::make_unique<Preferences>(m_dir.filePath(QStringLiteral("defaults.json")));
        m_defaults->setString(PreferenceKey::storedPIN,
                              PINManager::encodePIN(QStringLiteral("1234")));
        m_pins = std::make_unique<PINManager>(*m_defaults, m_reader);
        m_verifier = std::make_unique<CountingVerifier>(*m_pins);
    }

    void cleanup()
    {
        m_view.reset();
        m_verifier.reset();
        m_pins.reset();
        m_defaults.reset();
    }

    // The page calls the bridge while it is still parsing, before the web
    // channel is up: the message waits for it.
    void rightPINFromThePageUnlocks()
    {
        const QString path = writePage(QStringLiteral("unlock/lock.html"),
                                       page("", "document.title = typeof window.Vostrel.getTime();"
                                                "window.Vostrel.unlock('1234');"));
        show(QStringLiteral("custom_html"), path, QString());
        QSignalSpy unlocked(lockScreen(), SIGNAL(unlocked()));
        QSignalSpy verified(m_verifier.get(), &CountingVerifier::verified);
        QVERIFY(unlocked.wait(pageTimeout));
        QCOMPARE(verified.count(), 1);
        QCOMPARE(verified.first().value(0).toString(), QStringLiteral("1234"));
        QCOMPARE(webPage()->property("title").toString(), QStringLiteral("string"));
    }

    // Only the page's own postMessage is reachable through the channel.
    void channelShowsThePageNothingElse()
    {
        const QString path = writePage(
            QStringLiteral("surface/lock.html"),
            page("", "new QWebChannel(qt.webChannelTransport, function(channel) {"
                     "  var names = Object.keys(channel.objects).join('+') + ':' +"
                     "    Object.keys(channel.objects.vostrel).filter(function(k) {"
                     "      return typeof channel.objects.vostrel[k] === 'function'; }).join('+');"
                     "  document.title = names; });"));
        show(QStringLiteral("custom_html"), path, QString());
        QTRY_VERIFY_WITH_TIMEOUT(webPage(), pageTimeout);
        QTRY_VERIFY_WITH_TIMEOUT(webPage()->property("title").toString().contains(QLatin1Char(':')),
                                 pageTimeout);
        const QString title = webPage()->property("title").toString();
        QVERIFY2(title.startsWith(QStringLiteral("vostrel:")), qPrintable(title));
        QVERIFY2(title.contains(QStringLiteral("postMessage")), qPrintable(title));
        QVERIFY2(!title.contains(QStringLiteral("PIN"), Qt::CaseInsensitive), qPrintable(title));
    }

    void htmlPageReadsOnlyItsOwnFolder()
    {
        QImage dot(4, 4, QImage::Format_RGB32);
        dot.fill(Qt::red);
        QDir().mkpath(m_dir.filePath(QStringLiteral("folder/site/img")));
        QDir().mkpath(m_dir.filePath(QStringLiteral("folder/private")));
        QVERIFY(dot.save(m_dir.filePath(QStringLiteral("folder/site/img/dot.png"))));
        QVERIFY(dot.save(m_dir.filePath(QStringLiteral("folder/private/dot.png"))));
        const QString path = writePage(
            QStringLiteral("folder/site/lock.html"),
            page("<img id=own src='img/dot.png'><img id=other src='../private/dot.png'>",
                 "var results = {};"
                 "function done(name, ok) { results[name] = ok;"
                 "  if (Object.keys(results).length === 2)"
                 "    document.title = 'own ' + results.own + ', other ' + results.other; }"
                 "['own', 'other'].forEach(function(id) { var img = document.getElementById(id);"
                 "  img.onload = function() { done(id, 'loaded'); };"
                 "  img.onerror = function() { done(id, 'refused'); }; });"));
        show(QStringLiteral("custom_html"), path, QString());
        waitForTitle(QStringLiteral("own loaded, other refused"));
    }

    void localhostLoadsAndOtherHostsShowThePlaceholder()
    {
        QVERIFY(m_server.listen());
        m_server.setReply("/dash", 200, "text/html; charset=utf-8",
                          page("<p>dashboard</p>", "window.Vostrel.unlock('1234');"));
        show(QStringLiteral("custom_website"), QString(),
             QStringLiteral("http://localhost:%1/dash").arg(m_server.port()));
        QSignalSpy unlocked(lockScreen(), SIGNAL(unlocked()));
        QVERIFY(unlocked.wait(pageTimeout));
        QCOMPARE(m_server.requests().size(), 1);
        QCOMPARE(m_server.requests().first().path, QByteArray("/dash"));
        QVERIFY(!lockScreen()->property("showsPlaceholder").toBool());

        lockScreen()->setProperty("websiteURL", QStringLiteral("http://example.net/"));
        QVERIFY(lockScreen()->property("showsPlaceholder").toBool());
        QTRY_VERIFY(!webPage());
    }
};

int main(int argc, char *argv[])
{
    // The engine's sandbox refuses to run as root; only then is it turned
    // off, and only for this test.
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    prepareWebEngine();
    QGuiApplication app(argc, argv);
    TestWebPage test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_webpage.moc"
