// The web lock screen with a real web engine on the session's display: pages
// that call the bridge, the website rule, link clicks, and what it looks like.
#include "core/preferencekeys.h"
#include "core/preferences.h"
#include "overlay/pinmanager.h"
#include "platform/fakes/fakebiometricauthenticator.h"
#include "weboverlay/weboverlaybridge.h"
#include "weboverlay/weboverlaymodule.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QSet>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {
constexpr int pageTimeout = 30000;

// Serves fixed pages over HTTP/1.0 and remembers each path asked for.
class PageServer
{
public:
    PageServer()
    {
        QObject::connect(&m_server, &QTcpServer::newConnection, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection())
                serve(socket);
        });
        m_server.listen(QHostAddress::Any);
    }

    [[nodiscard]] QString url(const char *path) const
    {
        return QStringLiteral("http://localhost:%1%2")
            .arg(m_server.serverPort())
            .arg(QString::fromLatin1(path));
    }
    void setPage(const QString &path, const QByteArray &html) { m_pages.insert(path, html); }
    // A request for this path is read and never answered.
    void setHanging(const QString &path) { m_hanging.insert(path); }
    [[nodiscard]] const QStringList &requests() const { return m_requests; }

private:
    void serve(QTcpSocket *socket)
    {
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
            m_buffers[socket] += socket->readAll();
            const QByteArray &request = m_buffers[socket];
            if (!request.contains("\r\n\r\n"))
                return;
            const QString path = QString::fromLatin1(request.split(' ').value(1));
            m_buffers.remove(socket);
            m_requests.append(path);
            if (m_hanging.contains(path))
                return;
            const auto page = m_pages.constFind(path);
            const QByteArray body = page == m_pages.cend() ? QByteArray("missing") : *page;
            socket->write(page == m_pages.cend() ? "HTTP/1.0 404 Not Found\r\n"
                                                 : "HTTP/1.0 200 OK\r\n");
            socket->write("Content-Type: text/html; charset=utf-8\r\nContent-Length: " +
                          QByteArray::number(body.size()) + "\r\n\r\n" + body);
            socket->disconnectFromHost();
        });
        QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }

    QTcpServer m_server;
    QHash<QString, QByteArray> m_pages;
    QSet<QString> m_hanging;
    QHash<QTcpSocket *, QByteArray> m_buffers;
    QStringList m_requests;
};

QByteArray page(const QByteArray &body, const QByteArray &script = {})
{
    return "<!doctype html><html><head><meta charset='utf-8'><style>"
           "html,body{margin:0;height:100%;background:transparent;font-family:sans-serif}"
           "a{display:block;height:50%}</style></head><body>" +
           body + "<script>" + script + "</script></body></html>";
}

bool isClose(QColor a, QColor b)
{
    return qAbs(a.red() - b.red()) < 12 && qAbs(a.green() - b.green()) < 12 &&
           qAbs(a.blue() - b.blue()) < 12;
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
    PageServer m_server;

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

    void saveScreenshot(const QString &name)
    {
        const QString folder =
            QCoreApplication::applicationDirPath() + QStringLiteral("/screenshots");
        QDir().mkpath(folder);
        QVERIFY(m_view->grabWindow().save(folder + QLatin1Char('/') + name));
    }

private Q_SLOTS:
    void initTestCase() { registerWebOverlayModule(); }

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

    void pinsThatAreNotTextAreIgnored()
    {
        const QString path =
            writePage(QStringLiteral("numbers/lock.html"),
                      page("", "window.Vostrel.unlock(1234);"
                               "window.webkit.messageHandlers.vostrel.postMessage("
                               "{action: 'unlock', pin: '1234', extra: 1});"
                               "window.webkit.messageHandlers.vostrel.postMessage('1234');"
                               "window.Vostrel.unlock();"));
        show(QStringLiteral("custom_html"), path, QString());
        QSignalSpy unlocked(lockScreen(), SIGNAL(unlocked()));
        QSignalSpy verified(m_verifier.get(), &CountingVerifier::verified);
        // Messages arrive in order: once the empty PIN was checked, the three
        // before it have been dropped.
        QTRY_COMPARE_WITH_TIMEOUT(verified.count(), 1, pageTimeout);
        QCOMPARE(verified.first().value(0).toString(), QString());
        QCOMPARE(verified.first().value(1).toBool(), false);
        QCoreApplication::processEvents();
        QCOMPARE(unlocked.count(), 0);
    }

    void wrongPINsFromThePageLockOut()
    {
        m_defaults->setInteger(PreferenceKey::maxPINAttempts, 2);
        const QString path = writePage(QStringLiteral("wrong/lock.html"),
                                       page("", "window.Vostrel.unlock('0000');"
                                                "window.Vostrel.unlock('1111');"
                                                "window.Vostrel.unlock('1234');"));
        show(QStringLiteral("custom_html"), path, QString());
        QSignalSpy unlocked(lockScreen(), SIGNAL(unlocked()));
        QSignalSpy verified(m_verifier.get(), &CountingVerifier::verified);
        QTRY_COMPARE_WITH_TIMEOUT(verified.count(), 3, pageTimeout);
        QVERIFY(m_pins->isLockedOut());
        QCOMPARE(m_pins->failedAttempts(), 2);
        // The right PIN during the lockout is refused like any other.
        QCOMPARE(verified.last().value(1).toBool(), false);
        QCoreApplication::processEvents();
        QCOMPARE(unlocked.count(), 0);
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
        m_server.setPage(QStringLiteral("/dash"),
                         page("<p>dashboard</p>", "window.Vostrel.unlock('1234');"));
        show(QStringLiteral("custom_website"), QString(), m_server.url("/dash"));
        QSignalSpy unlocked(lockScreen(), SIGNAL(unlocked()));
        QVERIFY(unlocked.wait(pageTimeout));
        QCOMPARE(m_server.requests(), QStringList{QStringLiteral("/dash")});
        QVERIFY(!lockScreen()->property("showsPlaceholder").toBool());

        lockScreen()->setProperty("websiteURL", QStringLiteral("http://example.net/"));
        QVERIFY(lockScreen()->property("showsPlaceholder").toBool());
        QTRY_VERIFY(!webPage());
        saveScreenshot(QStringLiteral("website-placeholder.png"));
    }

    void aWebsiteThatNeverAnswersIsGivenUp()
    {
        m_server.setHanging(QStringLiteral("/slow"));
        show(QStringLiteral("custom_website"), QString(), m_server.url("/slow"));
        QTRY_VERIFY_WITH_TIMEOUT(webPage() && webPage()->property("loading").toBool(), pageTimeout);
        QTRY_VERIFY_WITH_TIMEOUT(m_server.requests().contains(QStringLiteral("/slow")),
                                 pageTimeout);
        auto *bridge = lockScreen()->findChild<WebOverlayBridge *>();
        QVERIFY(bridge);
        QVERIFY(bridge->isPageLoading());
        bridge->expireLoad();
        QTRY_VERIFY_WITH_TIMEOUT(!webPage()->property("loading").toBool(), pageTimeout);
        QVERIFY(!webPage()->isVisible());
        // Nothing but the backdrop.
        const QImage shot = m_view->grabWindow();
        QVERIFY(isClose(shot.pixelColor(400, 250), QColor(0x10, 0x20, 0x30)));
    }

    // A link the user clicks must pass the URL rule. The engine reports a
    // script's change of location as a link too, so the same rule holds it.
    void linkClicksFollowTheURLRule()
    {
        m_server.setPage(QStringLiteral("/links"),
                         page("<a id=away href='http://example.net/away'>away</a>"
                              "<a id=next href='/next'>next</a>",
                              "document.title = 'links';"
                              "document.addEventListener('click', function(event) {"
                              "  document.title = 'clicked ' + event.target.id; });"));
        m_server.setPage(QStringLiteral("/next"),
                         page("<p>next</p>",
                              "setTimeout(function() {"
                              "  location.href = 'http://example.net/moved';"
                              "  setTimeout(function() { location.href = '/final'; }, 200);"
                              "}, 0);"));
        m_server.setPage(QStringLiteral("/final"), page("<p>final</p>"));
        show(QStringLiteral("custom_website"), QString(), m_server.url("/links"));
        waitForTitle(QStringLiteral("links"));
        // Clicks that come before the page takes input are lost: click until
        // the page has seen one.
        const auto clickAway = [this] {
            QTest::mouseClick(m_view.get(), Qt::LeftButton, {}, QPoint(40, 100));
            return webPage()->property("title").toString() == QLatin1String("clicked away");
        };
        QTRY_VERIFY_WITH_TIMEOUT(clickAway(), pageTimeout);
        QTest::mouseClick(m_view.get(), Qt::LeftButton, {}, QPoint(40, 400));
        // Handled in order: once the last page is asked for, both moves to the
        // other host were cancelled, or the page would have left.
        QTRY_VERIFY_WITH_TIMEOUT(m_server.requests().contains(QStringLiteral("/final")),
                                 pageTimeout);
        QTRY_COMPARE_WITH_TIMEOUT(webPage()->property("url").toUrl(), QUrl(m_server.url("/final")),
                                  pageTimeout);
        QVERIFY(m_server.requests().contains(QStringLiteral("/next")));
    }

    void screenshots()
    {
        show(QStringLiteral("custom_html"), QString(), QString());
        QVERIFY(lockScreen()->property("showsPlaceholder").toBool());
        QVERIFY(!webPage());
        saveScreenshot(QStringLiteral("html-placeholder.png"));

        const QString path = writePage(
            QStringLiteral("shot/lock.html"),
            page("<div style='position:absolute;left:100px;top:100px;width:300px;height:120px;"
                 "background:rgb(0,200,0);border-radius:16px;color:white;font-size:28px;"
                 "display:flex;align-items:center;justify-content:center'>Lab status: "
                 "<span id=t></span></div>",
                 "document.getElementById('t').textContent = window.Vostrel.getTime();"
                 "document.title = 'drawn';"));
        show(QStringLiteral("custom_html"), path, QString());
        waitForTitle(QStringLiteral("drawn"));
        // The page has no background of its own: the backdrop shows around
        // the box.
        QTRY_VERIFY_WITH_TIMEOUT(
            isClose(m_view->grabWindow().pixelColor(110, 110), QColor(0, 200, 0)), pageTimeout);
        QVERIFY(isClose(m_view->grabWindow().pixelColor(600, 400), QColor(0x10, 0x20, 0x30)));
        saveScreenshot(QStringLiteral("html-lock-screen.png"));
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
