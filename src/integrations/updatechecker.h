#pragma once

#include "integrations/updatefeeditem.h"

#include <QObject>
#include <qqmlregistration.h>
#include <QString>

#include <chrono>
#include <optional>

class QJSEngine;
class QNetworkAccessManager;
class QQmlEngine;

// Finds out whether the update feed offers a version newer than the running
// one. It only reports; results accumulate, so once an update is found it
// stays announced for the life of the process.
//
// QML sees the two optional strings as "" when absent.
class UpdateChecker : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_DISABLE_COPY_MOVE(UpdateChecker)
    Q_PROPERTY(QString currentVersion READ currentVersion CONSTANT)
    Q_PROPERTY(QString feedURL READ feedURL CONSTANT)
    Q_PROPERTY(bool updateAvailable READ updateAvailable NOTIFY updateAvailableChanged)
    Q_PROPERTY(QString latestVersion READ latestVersionText NOTIFY latestVersionChanged)
    Q_PROPERTY(QString downloadURL READ downloadURLText NOTIFY downloadURLChanged)

public:
    static constexpr std::chrono::seconds requestTimeout{60};
    // Feeds run to a few hundred kilobytes; a longer body is cut off and ignored.
    static constexpr qint64 maximumFeedSize = 8 * 1024 * 1024;

    UpdateChecker(QNetworkAccessManager &network, const QString &currentVersion,
                  const QString &feedURL, QObject *parent = nullptr);
    ~UpdateChecker() override;

    static UpdateChecker *create(QQmlEngine *, QJSEngine *);

    [[nodiscard]] QString currentVersion() const { return m_currentVersion; }
    [[nodiscard]] QString feedURL() const { return m_feedURL; }
    [[nodiscard]] bool updateAvailable() const { return m_updateAvailable; }
    [[nodiscard]] std::optional<QString> latestVersion() const { return m_latestVersion; }
    [[nodiscard]] std::optional<QString> downloadURL() const { return m_downloadURL; }
    [[nodiscard]] QString latestVersionText() const { return m_latestVersion.value_or(QString()); }
    [[nodiscard]] QString downloadURLText() const { return m_downloadURL.value_or(QString()); }

    // Starts one check and returns at once. Failures of any kind leave the
    // published state as it was.
    Q_INVOKABLE void check();

    // What a check does with the feed's best item. An address that is not
    // http(s) is never offered for download; the version is still announced.
    void apply(const UpdateFeedItem &item);

Q_SIGNALS:
    void updateAvailableChanged();
    void latestVersionChanged();
    void downloadURLChanged();
    // A check has ended, whatever it found. For tests and busy indicators.
    void checkFinished();

private:
    QNetworkAccessManager &m_network;
    QString m_currentVersion;
    QString m_feedURL;
    bool m_updateAvailable = false;
    std::optional<QString> m_latestVersion;
    std::optional<QString> m_downloadURL;
};
