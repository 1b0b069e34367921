#include "weboverlay/weboverlaybridge.h"
#include "weboverlay/websiteurl.h"

#include <QTest>

class TestWebsiteURL : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rule_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected"); // "" for rejected

        QTest::addRow("https") << "https://status.example.org/board?x=1"
                               << "https://status.example.org/board?x=1";
        QTest::addRow("trimmed") << " \t https://example.org \n"
                                 << "https://example.org";
        QTest::addRow("localhost") << "http://localhost/"
                                   << "http://localhost/";
        QTest::addRow("loopback v4") << "http://127.0.0.1:9000/"
                                     << "http://127.0.0.1:9000/";
        QTest::addRow("loopback v6") << "http://[::1]:9000/"
                                     << "http://[::1]:9000/";

        QTest::addRow("empty") << ""
                               << "";
        QTest::addRow("no scheme") << "example.org"
                                   << "";
        QTest::addRow("blank inside") << "https://exa mple.org"
                                      << "";
        QTest::addRow("http other host") << "http://example.org/"
                                         << "";
        QTest::addRow("http local network") << "http://192.168.1.20:8080/"
                                            << "";
        QTest::addRow("http lookalike host") << "http://localhost.example.org/"
                                             << "";
        QTest::addRow("http no host") << "http:/dashboard"
                                      << "";
        QTest::addRow("file") << "file:///home/me/page.html"
                              << "";
        QTest::addRow("javascript") << "javascript:alert(1)"
                                    << "";
    }

    void rule()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        const auto url = validatedWebsiteURL(text);
        QCOMPARE(url.has_value(), !expected.isEmpty());
        if (url)
            QCOMPARE(url->toString(), expected);
    }

    // Only link clicks on the website are judged, and by the same rule.
    void navigationPolicy_data()
    {
        QTest::addColumn<QString>("theme");
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("isLinkActivation");
        QTest::addColumn<bool>("allowed");
        const QString web = QStringLiteral("custom_website");
        const QString html = QStringLiteral("custom_html");
        QTest::addRow("link to https") << web << "https://example.org/next" << true << true;
        QTest::addRow("link to http host") << web << "http://example.org/" << true << false;
        QTest::addRow("link to javascript") << web << "javascript:void(0)" << true << false;
        QTest::addRow("link without URL") << web << "" << true << true;
        QTest::addRow("script to http host") << web << "http://example.org/" << false << true;
        QTest::addRow("html page link") << html << "http://example.org/" << true << true;
    }

    void navigationPolicy()
    {
        QFETCH(QString, theme);
        QFETCH(QString, target);
        QFETCH(bool, isLinkActivation);
        QFETCH(bool, allowed);
        WebOverlayBridge bridge;
        bridge.setTheme(theme);
        QCOMPARE(bridge.allowsNavigation(QUrl(target), isLinkActivation), allowed);
    }
};

QTEST_GUILESS_MAIN(TestWebsiteURL)
#include "tst_websiteurl.moc"
