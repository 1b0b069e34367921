#include "integrations/serviceendpoints.h"
#include "integrations/updatechecker.h"
#include "integrations/updatefeedparser.h"
#include "integrations/versioncomparison.h"
#include "standins/standinhttpserver.h"

#include <QNetworkAccessManager>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {
QByteArray item(const char *version, const char *url)
{
    return QByteArray("<item><title>Vostrel ") + version + "</title><enclosure url=\"" + url +
           "\" sparkle:version=\"" + version +
           "\" length=\"1\" type=\"application/octet-stream\"/></item>";
}

QByteArray feed(const QByteArray &items)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
           "<rss version=\"2.0\" "
           "xmlns:sparkle=\"http://www.andymatuschak.org/xml-namespaces/sparkle\">"
           "<channel><title>Vostrel</title>" +
           items + "</channel></rss>";
}
} // namespace

class TestUpdateChecker : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<StandinHttpServer> m_server;
    std::unique_ptr<QNetworkAccessManager> m_network;

    std::unique_ptr<UpdateChecker> checker(const QString &currentVersion)
    {
        return std::make_unique<UpdateChecker>(
            *m_network, currentVersion, m_server->url(QStringLiteral("/appcast.xml")).toString());
    }

    static bool checkOnce(UpdateChecker &checker)
    {
        QSignalSpy finished(&checker, &UpdateChecker::checkFinished);
        checker.check();
        return finished.wait(10000);
    }

private Q_SLOTS:
    void init()
    {
        m_server = std::make_unique<StandinHttpServer>();
        QVERIFY(m_server->listen());
        m_network = std::make_unique<QNetworkAccessManager>();
    }

    void cleanup()
    {
        m_network.reset();
        m_server.reset();
    }

    void feedsServedLocally_data()
    {
        QTest::addColumn<QString>("running");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("contentType");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("latest");
        QTest::addColumn<QString>("download");

        const QByteArray xml = "application/rss+xml";
        QTest::addRow("highest of 1.2.0, 1.10.0, 1.9.5")
            << QStringLiteral("1.0.0") << 200 << xml
            << feed(item("1.2.0", "https://dl.example/1.2.0.tar.gz") +
                    item("1.10.0", "https://dl.example/1.10.0.tar.gz") +
                    item("1.9.5", "https://dl.example/1.9.5.tar.gz"))
            << QStringLiteral("1.10.0") << QStringLiteral("https://dl.example/1.10.0.tar.gz");
        QTest::addRow("running the best version")
            << QStringLiteral("1.10.0") << 200 << xml
            << feed(item("1.9.5", "https://dl.example/a") + item("1.10.0", "https://dl.example/b"))
            << QString() << QString();
        QTest::addRow("equal versions keep the first item")
            << QStringLiteral("1.0") << 200 << xml
            << feed(item("1.5", "https://dl.example/first") +
                    item("1.5", "https://dl.example/second"))
            << QStringLiteral("1.5") << QStringLiteral("https://dl.example/first");
        QTest::addRow("missing sparkle:version is skipped")
            << QStringLiteral("1.0") << 200 << xml
            << feed("<item><enclosure url=\"https://dl.example/9\"/></item>" +
                    item("1.1", "https://dl.example/1.1"))
            << QStringLiteral("1.1") << QStringLiteral("https://dl.example/1.1");
        QTest::addRow("missing url is skipped")
            << QStringLiteral("1.0") << 200 << xml
            << feed("<item><enclosure sparkle:version=\"9\"/></item>") << QString() << QString();
        QTest::addRow("enclosure outside any item")
            << QStringLiteral("1.0") << 200 << xml
            << feed("<enclosure url=\"https://evil.example/9\" sparkle:version=\"9.0\"/>" +
                    item("1.1", "https://dl.example/1.1") +
                    "<enclosure url=\"https://evil.example/8\" sparkle:version=\"8.0\"/>")
            << QStringLiteral("1.1") << QStringLiteral("https://dl.example/1.1");
        QTest::addRow("undeclared sparkle prefix")
            << QStringLiteral("1.0") << 200 << xml
            << QByteArray("<rss><channel>" + item("1.3", "https://dl.example/1.3") +
                          "</channel></rss>")
            << QStringLiteral("1.3") << QStringLiteral("https://dl.example/1.3");
        QTest::addRow("status code is not looked at")
            << QStringLiteral("1.0") << 500 << xml << feed(item("1.4", "https://dl.example/1.4"))
            << QStringLiteral("1.4") << QStringLiteral("https://dl.example/1.4");
        QTest::addRow("malformed XML after a good item")
            << QStringLiteral("1.0") << 200 << xml
            << QByteArray("<rss><channel>" + item("2.0", "https://dl.example/2") + "<item></chan")
            << QString() << QString();
        QTest::addRow("HTML error page")
            << QStringLiteral("1.0") << 404 << QByteArray("text/html")
            << QByteArray("<!DOCTYPE html><html><head><title>404</title></head>"
                          "<body><p>Not Found<br></body></html>")
            << QString() << QString();
    }

    void feedsServedLocally()
    {
        QFETCH(QString, running);
        QFETCH(int, status);
        QFETCH(QByteArray, contentType);
        QFETCH(QByteArray, body);
        QFETCH(QString, latest);
        QFETCH(QString, download);
        m_server->setReply("/appcast.xml", status, contentType, body);
        const auto updates = checker(running);
        QSignalSpy available(updates.get(), &UpdateChecker::updateAvailableChanged);

        QVERIFY(checkOnce(*updates));
        QCOMPARE(m_server->requests().size(), 1);
        QCOMPARE(m_server->requests().first().method, QByteArray("GET"));
        QCOMPARE(updates->updateAvailable(), !latest.isEmpty());
        QCOMPARE(available.size(), latest.isEmpty() ? 0 : 1);
        QCOMPARE(updates->latestVersionText(), latest);
        QCOMPARE(updates->downloadURLText(), download);
        QCOMPARE(updates->latestVersion().has_value(), !latest.isEmpty());
    }

    void resultsAccumulate()
    {
        const auto updates = checker(QStringLiteral("1.0.0"));
        m_server->setReply("/appcast.xml", 200, "application/rss+xml",
                           feed(item("2.0", "https://dl.example/2")));
        QVERIFY(checkOnce(*updates));
        QVERIFY(updates->updateAvailable());

        // A later feed without anything newer, or no server at all, takes nothing back.
        m_server->setReply("/appcast.xml", 200, "application/rss+xml",
                           feed(item("1.0.0", "https://dl.example/1")));
        QVERIFY(checkOnce(*updates));
        m_server->close();
        QVERIFY(checkOnce(*updates));
        QVERIFY(updates->updateAvailable());
        QCOMPARE(updates->latestVersionText(), QStringLiteral("2.0"));
        QCOMPARE(updates->downloadURLText(), QStringLiteral("https://dl.example/2"));
    }

    void brokenServers_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addRow("garbage") << int(StandinHttpServer::Mode::garbage);
        QTest::addRow("hangs up") << int(StandinHttpServer::Mode::hangUp);
    }

    void brokenServers()
    {
        QFETCH(int, mode);
        m_server->setMode(StandinHttpServer::Mode(mode));
        const auto updates = checker(QStringLiteral("1.0.0"));
        QVERIFY(checkOnce(*updates));
        QVERIFY(!updates->updateAvailable());
    }

    void downloadAddressMustBeWeb_data()
    {
        QTest::addColumn<QByteArray>("url");
        QTest::addRow("file") << QByteArray("file:///etc/passwd");
        QTest::addRow("javascript") << QByteArray("javascript:alert(1)");
    }

    void downloadAddressMustBeWeb()
    {
        QFETCH(QByteArray, url);
        m_server->setReply("/appcast.xml", 200, "application/rss+xml",
                           feed(item("2.0", url.constData())));
        const auto updates = checker(QStringLiteral("1.0.0"));
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("no http\\(s\\) address")));
        QVERIFY(checkOnce(*updates));
        QVERIFY(updates->updateAvailable());
        QCOMPARE(updates->latestVersionText(), QStringLiteral("2.0"));
        QCOMPARE(updates->downloadURL(), std::nullopt);
    }

    void unusableFeedAddressSendsNothing()
    {
        UpdateChecker updates(*m_network, QStringLiteral("1.0.0"), QStringLiteral("not a url"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("no check")));
        QSignalSpy finished(&updates, &UpdateChecker::checkFinished);
        updates.check();
        QCOMPARE(finished.size(), 1);
        QVERIFY(m_server->requests().isEmpty());
        QVERIFY(!updates.updateAvailable());
    }

    void addressesFromTheEnvironment()
    {
        qputenv("VOSTREL_APPCAST_URL", "http://127.0.0.1:1/feed.xml");
        qputenv("VOSTREL_SLACK_API_URL", "http://127.0.0.1:1/api");
        QCOMPARE(ServiceEndpoints::updateFeedURL(), QStringLiteral("http://127.0.0.1:1/feed.xml"));
        QCOMPARE(ServiceEndpoints::slackAPIBaseURL(),
                 QUrl(QStringLiteral("http://127.0.0.1:1/api/")));

        qputenv("VOSTREL_APPCAST_URL", "ftp://example.org/feed");
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("VOSTREL_APPCAST_URL")));
        QCOMPARE(ServiceEndpoints::updateFeedURL(),
                 QStringLiteral("https://vostrel.app/appcast.xml"));
        qunsetenv("VOSTREL_APPCAST_URL");
        qunsetenv("VOSTREL_SLACK_API_URL");
        QCOMPARE(ServiceEndpoints::slackAPIBaseURL(),
                 QUrl(QStringLiteral("https://slack.com/api/")));
        QVERIFY(!ServiceEndpoints::bundleVersion().isEmpty());
    }

    void versionOrder_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("order");

        QTest::addRow("1.10 after 1.9") << QStringLiteral("1.10") << QStringLiteral("1.9") << 1;
        QTest::addRow("equal") << QStringLiteral("1.10.0") << QStringLiteral("1.10.0") << 0;
        QTest::addRow("letters by code") << QStringLiteral("1.0a") << QStringLiteral("1.0b") << -1;
        QTest::addRow("digits beyond 64 bits") << QStringLiteral("1.99999999999999999999999")
                                               << QStringLiteral("1.99999999999999999999998") << 1;
        QTest::addRow("empty first") << QString() << QStringLiteral("0") << -1;
        QTest::addRow("2.0 after 10 is false")
            << QStringLiteral("2.0") << QStringLiteral("10") << -1;
    }

    void versionOrder()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, order);
        const auto sign = [](int n) {
            return (n > 0) - (n < 0);
        };
        QCOMPARE(sign(VersionComparison::compare(a, b)), order);
        QCOMPARE(sign(VersionComparison::compare(b, a)), -order);
    }
};

QTEST_GUILESS_MAIN(TestUpdateChecker)
#include "tst_updatechecker.moc"
