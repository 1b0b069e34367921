#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;

// One calendar the user subscribed to: a local iCalendar file, or an http(s)
// address (webcal:// is taken as https://). It keeps the last text that
// passed the structural checks of ICalendarParser.
//
// A file is what it holds now: when it goes missing or turns invalid its text
// is dropped. An address keeps its last good download, in memory and in a
// cache file, so a calendar stays usable offline and a broken download (a
// captive portal's page, a cut transfer) never replaces a good copy.
class ICalendarSource : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ICalendarSource)

public:
    // A remote source starts with the text of its cache file, if any.
    explicit ICalendarSource(const QString &location, QNetworkAccessManager &network,
                             const QString &cacheDirectory, qint64 maximumSize,
                             QObject *parent = nullptr);
    ~ICalendarSource() override;

    [[nodiscard]] QString location() const { return m_location; }
    [[nodiscard]] bool isRemote() const { return m_url.isValid() && !m_url.isLocalFile(); }

    // Starts a read unless one is under way. finished() always follows on a
    // later turn of the event loop, whatever happened.
    void read();
    [[nodiscard]] bool isReading() const { return m_isReading; }

    [[nodiscard]] bool hasText() const { return !m_text.isEmpty(); }
    [[nodiscard]] QByteArray text() const { return m_text; }
    // Goes up each time the text changes.
    [[nodiscard]] quint64 revision() const { return m_revision; }
    // Why the last read failed; empty after one that succeeded.
    [[nodiscard]] QString errorString() const { return m_error; }
    // The file the last good download of an address is kept in.
    [[nodiscard]] QString cacheFilePath() const { return m_cacheFile; }

Q_SIGNALS:
    void finished();

private:
    void readFile();
    void download();
    void downloadFinished();
    void accept(const QByteArray &text);
    void fail(const QString &error);
    void finish();

    QString m_location;
    QUrl m_url;
    QNetworkAccessManager &m_network;
    QString m_cacheFile;
    qint64 m_maximumSize;
    QPointer<QNetworkReply> m_reply;
    QByteArray m_entityTag;
    QByteArray m_lastModified;
    QByteArray m_text;
    quint64 m_revision = 0;
    QString m_error;
    bool m_isReading = false;
};
