#include "settings/aboutmodel.h"

#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>

// Publishes what the update checker publishes, under the same names.
class StandInChecker : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool updateAvailable MEMBER m_available NOTIFY updateAvailableChanged)
    Q_PROPERTY(QString latestVersion MEMBER m_latest NOTIFY latestVersionChanged)
    Q_PROPERTY(QString downloadURL MEMBER m_url NOTIFY downloadURLChanged)

public:
    Q_INVOKABLE void check() { ++checks; }

    void publish(const QString &version, const QString &url)
    {
        m_available = true;
        m_latest = version;
        m_url = url;
        Q_EMIT updateAvailableChanged();
        Q_EMIT latestVersionChanged();
        Q_EMIT downloadURLChanged();
    }

    int checks = 0;

Q_SIGNALS:
    void updateAvailableChanged();
    void latestVersionChanged();
    void downloadURLChanged();

private:
    bool m_available = false;
    QString m_latest;
    QString m_url;
};

class TestAboutModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:

    void followsTheChecker()
    {
        StandInChecker checker;
        QList<QUrl> opened;
        AboutModel about(&checker, [&opened](const QUrl &url) {
            opened << url;
            return true;
        });
        QCOMPARE(about.updateButtonTitle(), QStringLiteral("Check for Updates"));
        QVERIFY(about.availableText().isEmpty());
        about.updateAction();
        QCOMPARE(checker.checks, 1);
        QVERIFY(opened.isEmpty());

        QSignalSpy changed(&about, &AboutModel::updateChanged);
        checker.publish(QStringLiteral("1.10.0"), QStringLiteral("https://example.org/v.tar.gz"));
        QVERIFY(changed.count() >= 1);
        QCOMPARE(about.updateButtonTitle(), QStringLiteral("Download Update"));
        QCOMPARE(about.availableText(), QStringLiteral("v1.10.0 available"));
        about.updateAction();
        QCOMPARE(checker.checks, 1);
        QCOMPARE(opened, QList<QUrl>{QUrl(QStringLiteral("https://example.org/v.tar.gz"))});
    }

    void linksAreOpenedOnlyForTheWeb_data()
    {
        QTest::addColumn<QUrl>("url");
        QTest::addColumn<bool>("opens");
        QTest::addRow("https") << QUrl(QStringLiteral("https://vostrel.app/docs")) << true;
        QTest::addRow("mailto") << AboutModel::supportURL() << true;
        QTest::addRow("file") << QUrl(QStringLiteral("file:///etc/passwd")) << false;
        QTest::addRow("script") << QUrl(QStringLiteral("javascript:alert(1)")) << false;
    }
    void linksAreOpenedOnlyForTheWeb()
    {
        QFETCH(QUrl, url);
        int calls = 0;
        AboutModel about(nullptr, [&calls](const QUrl &) {
            ++calls;
            return true;
        });
        QTEST(about.openLink(url), "opens");
        QCOMPARE(calls, about.openLink(url) ? 2 : 0);
    }

    void platformFromTheSession()
    {
        // The session's type, also when Qt reaches the screen through XWayland.
        const QByteArray session = qgetenv("XDG_SESSION_TYPE");
        const QByteArray display = qgetenv("WAYLAND_DISPLAY");
        auto restore = qScopeGuard([&] {
            for (const auto &[name, value] :
                 {std::pair("XDG_SESSION_TYPE", session), std::pair("WAYLAND_DISPLAY", display)}) {
                if (value.isNull())
                    qunsetenv(name);
                else
                    qputenv(name, value);
            }
        });
        qputenv("XDG_SESSION_TYPE", "wayland");
        qunsetenv("WAYLAND_DISPLAY");
        QCOMPARE(AboutModel::platform(), QStringLiteral("Linux (Wayland)"));
        qputenv("XDG_SESSION_TYPE", "x11");
        qputenv("WAYLAND_DISPLAY", "wayland-0");
        QCOMPARE(AboutModel::platform(), QStringLiteral("Linux (X11)"));
        qunsetenv("XDG_SESSION_TYPE");
        QCOMPARE(AboutModel::platform(), QStringLiteral("Linux (Wayland)"));
        qunsetenv("WAYLAND_DISPLAY");
        QCOMPARE(AboutModel::platform(), QStringLiteral("Linux (X11)"));
    }
};

QTEST_GUILESS_MAIN(TestAboutModel)
#include "tst_aboutmodel.moc"
