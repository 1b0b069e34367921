#include "core/preferencekeys.h"
#include "core/preferences.h"
#include "integrations/statussyncmanager.h"
#include "standins/standinhttpserver.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// Waits until everything queued has been answered.
#define SETTLE() QTRY_COMPARE_WITH_TIMEOUT(m_manager->pendingRequests(), 0, 10000)

using SavedStatus = StatusSyncManager::SavedStatus;
using ProfileStatus = StatusSyncManager::ProfileStatus;

namespace {
QJsonObject jsonBody(const StandinHttpServer::Request &request)
{
    return QJsonDocument::fromJson(request.body).object();
}

QJsonObject profileBody(const QString &text, const QString &emoji)
{
    return {{QStringLiteral("profile"), QJsonObject{{QStringLiteral("status_text"), text},
                                                    {QStringLiteral("status_emoji"), emoji},
                                                    {QStringLiteral("status_expiration"), 0}}}};
}

QJsonObject presenceBody(const char *presence)
{
    return {{QStringLiteral("presence"), QString::fromLatin1(presence)}};
}
} // namespace

class TestStatusSyncManager : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Preferences> m_defaults;
    std::unique_ptr<StandinHttpServer> m_server;
    std::unique_ptr<QNetworkAccessManager> m_network;
    std::unique_ptr<StatusSyncManager> m_manager;

    void lock() { m_manager->overlayDidActivate(); }
    void unlock() { m_manager->overlayDidDeactivate(); }

    void expectRequest(int index, const char *method, const char *path, const QJsonObject &body)
    {
        QVERIFY(index < m_server->requests().size());
        const StandinHttpServer::Request &request = m_server->requests().at(index);
        QCOMPARE(request.method, QByteArray(method));
        QCOMPARE(request.path, QByteArray(path));
        QCOMPARE(request.headers.value("authorization"), QByteArray("Bearer xoxb-1"));
        if (request.method == "POST") {
            QCOMPARE(request.headers.value("content-type"),
                     QByteArray("application/json; charset=utf-8"));
            QCOMPARE(jsonBody(request), body);
        } else {
            QVERIFY(request.body.isEmpty());
        }
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_defaults = std::make_unique<Preferences>(m_dir->filePath(QStringLiteral("d.json")));
        m_server = std::make_unique<StandinHttpServer>();
        QVERIFY(m_server->listen());
        m_server->setReply("/api/users.profile.get", 200, "application/json",
                           "{\"ok\":true,\"profile\":{\"status_text\":\"Deep "
                           "work\",\"status_emoji\":\":brain:\"}}");
        m_server->setReply("/api/users.profile.set", 200, "application/json", "{\"ok\":true}");
        m_server->setReply("/api/users.setPresence", 200, "application/json", "{\"ok\":true}");
        // Without the trailing slash on purpose: method names still go under /api/.
        qputenv("VOSTREL_SLACK_API_URL", m_server->url(QStringLiteral("/api")).toEncoded());
        m_network = std::make_unique<QNetworkAccessManager>();
        m_manager = std::make_unique<StatusSyncManager>(*m_defaults, *m_network);
        m_defaults->setBool(PreferenceKey::slackSyncEnabled, true);
        m_defaults->setString(PreferenceKey::slackBotToken, QStringLiteral("xoxb-1"));
    }

    void cleanup()
    {
        m_manager.reset();
        m_network.reset();
        m_server.reset();
        qunsetenv("VOSTREL_SLACK_API_URL");
    }

    void lockReadsThenWritesThenGoesAway_data()
    {
        QTest::addColumn<QVariant>("text");
        QTest::addColumn<QVariant>("emoji");
        QTest::addColumn<QString>("sentText");
        QTest::addColumn<QString>("sentEmoji");

        QTest::addRow("configured")
            << QVariant(QStringLiteral("Heads down")) << QVariant(QStringLiteral(":lock:"))
            << QStringLiteral("Heads down") << QStringLiteral(":lock:");
        QTest::addRow("never set")
            << QVariant() << QVariant() << QStringLiteral("Tambering — do not disturb")
            << QStringLiteral(":no_entry:");
    }

    void lockReadsThenWritesThenGoesAway()
    {
        QFETCH(QVariant, text);
        QFETCH(QVariant, emoji);
        QFETCH(QString, sentText);
        QFETCH(QString, sentEmoji);
        if (text.isValid())
            m_defaults->setValue(PreferenceKey::slackStatusText, text);
        if (emoji.isValid())
            m_defaults->setValue(PreferenceKey::slackStatusEmoji, emoji);

        lock();
        SETTLE();
        QCOMPARE(m_server->requests().size(), 3);
        expectRequest(0, "GET", "/api/users.profile.get", {});
        expectRequest(1, "POST", "/api/users.profile.set", profileBody(sentText, sentEmoji));
        expectRequest(2, "POST", "/api/users.setPresence", presenceBody("away"));
        QCOMPARE(m_manager->previousStatus(),
                 SavedStatus({QStringLiteral("Deep work"), QStringLiteral(":brain:")}));
    }

    void unlockRestoresAndReturnsToAuto()
    {
        lock();
        SETTLE();
        m_server->clearRequests();

        unlock();
        SETTLE();
        QCOMPARE(m_server->requests().size(), 2);
        expectRequest(0, "POST", "/api/users.profile.set",
                      profileBody(QStringLiteral("Deep work"), QStringLiteral(":brain:")));
        expectRequest(1, "POST", "/api/users.setPresence", presenceBody("auto"));
        QCOMPARE(m_manager->previousStatus(), std::nullopt);
    }

    void unlockRightAfterLockRestoresWhatTheReadFound()
    {
        lock();
        unlock();
        SETTLE();
        QCOMPARE(m_server->requests().size(), 5);
        expectRequest(3, "POST", "/api/users.profile.set",
                      profileBody(QStringLiteral("Deep work"), QStringLiteral(":brain:")));
        expectRequest(4, "POST", "/api/users.setPresence", presenceBody("auto"));
        QCOMPARE(m_manager->previousStatus(), std::nullopt);
    }

    void unlockWithoutSavedStatusClearsIt_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("profileReply");

        QTest::addRow("no status") << 200 << QByteArray("{\"ok\":true,\"profile\":{}}");
        QTest::addRow("error reply")
            << 200 << QByteArray("{\"ok\":false,\"error\":\"invalid_auth\"}");
        QTest::addRow("html error page") << 500 << QByteArray("<html><body>Oops</body></html>");
    }

    void unlockWithoutSavedStatusClearsIt()
    {
        QFETCH(int, status);
        QFETCH(QByteArray, profileReply);
        m_server->setReply("/api/users.profile.get", status, "application/json", profileReply);

        lock();
        SETTLE();
        QCOMPARE(m_manager->previousStatus(), SavedStatus{});
        m_server->clearRequests();
        unlock();
        SETTLE();
        QCOMPARE(m_server->requests().size(), 2);
        expectRequest(0, "POST", "/api/users.profile.set", profileBody(QString(), QString()));
    }

    void nothingSentWhenOffOrWithoutToken_data()
    {
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QVariant>("token");

        QTest::addRow("off") << false << QVariant(QStringLiteral("xoxb-1"));
        QTest::addRow("no token") << true << QVariant();
        QTest::addRow("blank token") << true << QVariant(QStringLiteral(" \n"));
        QTest::addRow("token with a line break inside")
            << true << QVariant(QStringLiteral("xoxb-1\r\nX-Injected: 1"));
    }

    void nothingSentWhenOffOrWithoutToken()
    {
        QFETCH(bool, enabled);
        QFETCH(QVariant, token);
        m_defaults->setBool(PreferenceKey::slackSyncEnabled, enabled);
        if (token.isValid())
            m_defaults->setValue(PreferenceKey::slackBotToken, token);
        else
            m_defaults->remove(PreferenceKey::slackBotToken);

        lock();
        QCOMPARE(m_manager->pendingRequests(), 0);
        unlock();
        QCOMPARE(m_manager->pendingRequests(), 0);
        QVERIFY(m_server->requests().isEmpty());
        QCOMPARE(m_manager->previousStatus(), std::nullopt);
    }

    void turningOffWhileLockedKeepsTheSavedStatus()
    {
        lock();
        SETTLE();
        m_defaults->setBool(PreferenceKey::slackSyncEnabled, false);
        m_server->clearRequests();
        unlock();
        QCOMPARE(m_manager->pendingRequests(), 0);
        QCOMPARE(m_manager->previousStatus(),
                 SavedStatus({QStringLiteral("Deep work"), QStringLiteral(":brain:")}));

        // The next lock with the integration on replaces it.
        m_defaults->setBool(PreferenceKey::slackSyncEnabled, true);
        m_server->setReply("/api/users.profile.get", 200, "application/json",
                           "{\"profile\":{\"status_text\":\"Lunch\",\"status_emoji\":\":fork:\"}}");
        lock();
        SETTLE();
        QCOMPARE(m_manager->previousStatus(),
                 SavedStatus({QStringLiteral("Lunch"), QStringLiteral(":fork:")}));
    }

    void brokenServerLeavesThingsWorking_data()
    {
        QTest::addColumn<int>("failure");
        QTest::addRow("garbage") << int(StandinHttpServer::Mode::garbage);
        QTest::addRow("hangs up") << int(StandinHttpServer::Mode::hangUp);
    }

    void brokenServerLeavesThingsWorking()
    {
        QFETCH(int, failure);
        if (failure < 0)
            m_server->close();
        else
            m_server->setMode(StandinHttpServer::Mode(failure));

        lock();
        SETTLE();
        QCOMPARE(m_manager->previousStatus(), SavedStatus{});
        unlock();
        SETTLE();
        QCOMPARE(m_manager->previousStatus(), std::nullopt);

        // A server that comes back is used again at the next lock.
        if (failure < 0)
            return;
        m_server->setMode(StandinHttpServer::Mode::answer);
        m_server->clearRequests();
        lock();
        SETTLE();
        QCOMPARE(m_server->requests().size(), 3);
        QCOMPARE(m_manager->previousStatus(),
                 SavedStatus({QStringLiteral("Deep work"), QStringLiteral(":brain:")}));
    }

    void parseProfile_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<ProfileStatus>("expected");

        const ProfileStatus none;
        QTest::addRow("empty") << QByteArray() << none;
        QTest::addRow("array") << QByteArray("[1,2]") << none;
        QTest::addRow("no profile") << QByteArray("{\"ok\":true}") << none;
        QTest::addRow("both")
            << QByteArray("{\"profile\":{\"status_text\":\"a\",\"status_emoji\":\":b:\"}}")
            << ProfileStatus{QStringLiteral("a"), QStringLiteral(":b:")};
        QTest::addRow("text only")
            << QByteArray("{\"profile\":{\"status_text\":\"a\",\"status_emoji\":7}}")
            << ProfileStatus{QStringLiteral("a"), std::nullopt};
    }

    void parseProfile()
    {
        QFETCH(QByteArray, body);
        QFETCH(ProfileStatus, expected);
        QCOMPARE(StatusSyncManager::parseProfile(body), expected);
    }
};

QTEST_GUILESS_MAIN(TestStatusSyncManager)
#include "tst_statussyncmanager.moc"
