#include "platform/linux/icalendarsource.h"

#include "platform/calendarlocation.h"
#include "platform/linux/icalendarparser.h"
#include "platform/platformlog.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSaveFile>
#include <QtDebug>
#include <QTimer>

namespace {
// Long enough for a slow server, short enough that a dead one does not hold
// an access request for minutes.
constexpr int transferTimeoutMs = 30000;

QString sizeText(qint64 bytes)
{
    if (bytes < 1024 * 1024)
        return QString::number(bytes) + QStringLiteral(" bytes");
    return QString::number(double(bytes) / (1024 * 1024), 'f', 1) + QStringLiteral(" MB");
}
} // namespace

ICalendarSource::ICalendarSource(const QString &location, QNetworkAccessManager &network,
                                 const QString &cacheDirectory, qint64 maximumSize, QObject *parent)
    : QObject(parent)
    , m_location(location)
    , m_url(CalendarLocation::url(location))
    , m_network(network)
    , m_maximumSize(maximumSize)
{
    if (!isRemote())
        return;
    const QByteArray key =
        QCryptographicHash::hash(m_url.toEncoded(), QCryptographicHash::Sha1).toHex();
    m_cacheFile = QDir(cacheDirectory).filePath(QString::fromLatin1(key) + QStringLiteral(".ics"));
    QFile cache(m_cacheFile);
    if (cache.size() > m_maximumSize || !cache.open(QIODevice::ReadOnly))
        return;
    const QByteArray text = cache.readAll();
    if (ICalendarParser::structuralError(text).isEmpty()) {
        m_text = text;
        ++m_revision;
    }
}

ICalendarSource::~ICalendarSource()
{
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
        m_reply->deleteLater();
    }
}

void ICalendarSource::read()
{
    if (m_isReading)
        return;
    m_isReading = true;
    if (!m_url.isValid()) {
        fail(QStringLiteral("not an absolute file path or an http(s) address"));
        finish();
    } else if (isRemote()) {
        download();
    } else {
        readFile();
        finish();
    }
}

void ICalendarSource::readFile()
{
    QFile file(m_url.toLocalFile());
    const QFileInfo info(file);
    QString error;
    QByteArray text;
    if (!info.exists())
        error = QStringLiteral("no such file");
    else if (info.size() > m_maximumSize)
        error = QStringLiteral("larger than ") + sizeText(m_maximumSize);
    else if (!file.open(QIODevice::ReadOnly))
        error = file.errorString();
    else if (text = file.read(m_maximumSize + 1); text.size() > m_maximumSize)
        error = QStringLiteral("larger than ") + sizeText(m_maximumSize);
    else
        error = ICalendarParser::structuralError(text);
    if (error.isEmpty())
        return accept(text);
    if (hasText()) {
        m_text.clear();
        ++m_revision;
    }
    fail(error);
}

void ICalendarSource::download()
{
    QNetworkRequest request(m_url);
    request.setTransferTimeout(transferTimeoutMs);
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Vostrel"));
    // A conditional request only makes sense while the copy it refers to is held.
    if (hasText() && !m_entityTag.isEmpty())
        request.setRawHeader("If-None-Match", m_entityTag);
    if (hasText() && !m_lastModified.isEmpty())
        request.setRawHeader("If-Modified-Since", m_lastModified);
    m_reply = m_network.get(request);
    connect(m_reply, &QNetworkReply::downloadProgress, this, [this](qint64 received, qint64) {
        if (received > m_maximumSize && m_reply)
            m_reply->abort();
    });
    connect(m_reply, &QNetworkReply::finished, this, &ICalendarSource::downloadFinished);
}

void ICalendarSource::downloadFinished()
{
    QNetworkReply *reply = m_reply;
    m_reply = nullptr;
    reply->deleteLater();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QByteArray text =
        reply->error() == QNetworkReply::NoError ? reply->read(m_maximumSize + 1) : QByteArray();
    if (reply->bytesAvailable() > 0 || text.size() > m_maximumSize) {
        fail(QStringLiteral("larger than ") + sizeText(m_maximumSize));
    } else if (reply->error() == QNetworkReply::OperationCanceledError) {
        fail(QStringLiteral("larger than ") + sizeText(m_maximumSize));
    } else if (reply->error() != QNetworkReply::NoError) {
        fail(reply->errorString());
    } else if (status == 304) {
        m_error.clear();
    } else if (status != 200) {
        fail(QStringLiteral("the server answered HTTP ") + QString::number(status));
    } else if (const QString error = ICalendarParser::structuralError(text); !error.isEmpty()) {
        fail(error);
    } else {
        m_entityTag = reply->rawHeader("ETag");
        m_lastModified = reply->rawHeader("Last-Modified");
        accept(text);
        if (QDir().mkpath(QFileInfo(m_cacheFile).path())) {
            QSaveFile cache(m_cacheFile);
            if (cache.open(QIODevice::WriteOnly)) {
                cache.write(text);
                if (!cache.commit())
                    qCWarning(lcPlatform) << "ICalendarSource: could not cache" << m_location
                                          << "in" << m_cacheFile << ":" << cache.errorString();
            }
        }
    }
    finish();
}

void ICalendarSource::accept(const QByteArray &text)
{
    m_error.clear();
    if (text == m_text)
        return;
    m_text = text;
    ++m_revision;
}

void ICalendarSource::fail(const QString &error)
{
    if (error != m_error)
        qCWarning(lcPlatform).noquote()
            << "Calendar source" << m_location << "could not be read:" << error
            << (hasText() ? QStringLiteral("- keeping the last good copy") : QString());
    m_error = error;
}

void ICalendarSource::finish()
{
    QTimer::singleShot(0, this, [this] {
        m_isReading = false;
        Q_EMIT finished();
    });
}
