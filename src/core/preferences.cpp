#include "core/preferences.h"

#include "core/corelog.h"
#include "core/preferencevalue.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QJsonDocument>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <sys/stat.h>

namespace {
constexpr auto privateFile = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
constexpr int lockTimeoutMs = 3000;
// Far beyond the few kilobytes the catalogue's keys can fill; a bigger file is
// damage or mischief, and parsing it would cost several times its size in memory.
constexpr qint64 maxFileSize = 1024 * 1024;

QString tooLarge()
{
    return QStringLiteral("it is larger than %1 bytes").arg(maxFileSize);
}

QString keyString(QAnyStringView key)
{
    return key.toString();
}
} // namespace

Preferences::Preferences(const QString &filePath, QObject *parent)
    : QObject(parent)
    , m_filePath(filePath)
{}

Preferences::~Preferences() = default;

QString Preferences::standardFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QLatin1String("/vostrel/defaults.json");
}

Preferences::FileStamp Preferences::stampOnDisk() const
{
    struct stat info
    {
    };
    if (::stat(QFile::encodeName(m_filePath).constData(), &info) != 0)
        return {};
    return {true, quint64(info.st_dev), quint64(info.st_ino), qint64(info.st_size),
            qint64(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec};
}

const QJsonObject &Preferences::current() const
{
    if (!m_loaded || stampOnDisk() != m_stamp)
        reload();
    return m_values;
}

void Preferences::reload() const
{
    m_loaded = true;
    m_stamp = stampOnDisk();
    m_values = {};
    if (!m_stamp.exists)
        return;

    if (m_stamp.size > maxFileSize) {
        moveAside(tooLarge());
        return;
    }
    QFile file(m_filePath);
    if (!file.open(QIODevice::ReadOnly)) {
        moveAside(file.errorString());
        return;
    }
    // Bounded even when the file grows after the size was checked.
    const QByteArray bytes = file.read(maxFileSize + 1);
    if (bytes.size() > maxFileSize) {
        file.close();
        moveAside(tooLarge());
        return;
    }
    if (bytes.trimmed().isEmpty())
        return;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError) {
        moveAside(error.errorString() + QLatin1String(" at offset ") +
                  QString::number(error.offset));
        return;
    }
    if (!document.isObject()) {
        moveAside(QStringLiteral("the top level is not an object"));
        return;
    }
    m_values = document.object();
}

void Preferences::moveAside(const QString &reason) const
{
    // Never delete what the user had: keep the unreadable file beside the new one.
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString target = m_filePath + QLatin1String(".corrupt-") + stamp;
    for (int n = 1; QFileInfo::exists(target); ++n)
        target =
            m_filePath + QLatin1String(".corrupt-") + stamp + QLatin1Char('-') + QString::number(n);
    if (QFile::rename(m_filePath, target)) {
        qCWarning(lcCore,
                  "Preferences file %s could not be read (%s); kept it as %s and started "
                  "with default settings.",
                  qPrintable(m_filePath), qPrintable(reason), qPrintable(target));
    } else {
        qCWarning(lcCore,
                  "Preferences file %s could not be read (%s) and could not be moved aside; "
                  "using default settings without touching it.",
                  qPrintable(m_filePath), qPrintable(reason));
    }
    m_stamp = stampOnDisk();
}

QVariant Preferences::value(QAnyStringView key) const
{
    const QJsonValue json = current().value(keyString(key));
    if (json.isUndefined())
        return {};
    return PreferenceValue::decode(json);
}

bool Preferences::contains(QAnyStringView key) const
{
    return value(key).isValid();
}

QStringList Preferences::keys() const
{
    return current().keys();
}

bool Preferences::boolValue(QAnyStringView key) const
{
    const QVariant v = value(key);
    switch (v.typeId()) {
    case QMetaType::Bool:
        return v.toBool();
    case QMetaType::LongLong:
        return v.toLongLong() != 0;
    case QMetaType::Double:
        return v.toDouble() != 0.0;
    case QMetaType::QString: {
        const QString text = v.toString().trimmed().toLower();
        return text == QLatin1String("true") || text == QLatin1String("yes") ||
               text.toLongLong() != 0;
    }
    default:
        return false;
    }
}

qint64 Preferences::integer(QAnyStringView key) const
{
    const QVariant v = value(key);
    switch (v.typeId()) {
    case QMetaType::Bool:
        return v.toBool() ? 1 : 0;
    case QMetaType::LongLong:
        return v.toLongLong();
    case QMetaType::Double: {
        const double d = v.toDouble();
        if (!std::isfinite(d) || std::abs(d) >= 9.2e18)
            return 0;
        return qint64(d);
    }
    case QMetaType::QString:
        return v.toString().trimmed().toLongLong();
    default:
        return 0;
    }
}

double Preferences::doubleValue(QAnyStringView key) const
{
    const QVariant v = value(key);
    switch (v.typeId()) {
    case QMetaType::Bool:
    case QMetaType::LongLong:
    case QMetaType::Double:
        return v.toDouble();
    case QMetaType::QString:
        return v.toString().trimmed().toDouble();
    default:
        return 0.0;
    }
}

std::optional<QString> Preferences::string(QAnyStringView key) const
{
    const QVariant v = value(key);
    switch (v.typeId()) {
    case QMetaType::QString:
        return v.toString();
    case QMetaType::LongLong:
    case QMetaType::Double:
        return v.toString();
    default:
        return std::nullopt;
    }
}

std::optional<QByteArray> Preferences::data(QAnyStringView key) const
{
    const QVariant v = value(key);
    if (v.typeId() != QMetaType::QByteArray)
        return std::nullopt;
    return v.toByteArray();
}

bool Preferences::setValue(QAnyStringView key, const QVariant &value)
{
    const QJsonValue json = PreferenceValue::encode(value);
    if (json.isUndefined()) {
        m_lastError = QStringLiteral("values of type %1 cannot be stored")
                          .arg(QString::fromLatin1(value.typeName()));
        return false;
    }
    return write(keyString(key), json);
}

bool Preferences::remove(QAnyStringView key)
{
    return write(keyString(key), std::nullopt);
}

bool Preferences::write(const QString &key, const std::optional<QJsonValue> &value)
{
    const QFileInfo info(m_filePath);
    if (!QDir().mkpath(info.absolutePath())) {
        m_lastError = QStringLiteral("cannot create the folder %1").arg(info.absolutePath());
        return false;
    }
    QFile::setPermissions(info.absolutePath(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    // Serialise read-modify-write with other processes so that their latest
    // values are the base of this change.
    QLockFile lock(m_filePath + QLatin1String(".lock"));
    const bool locked = lock.tryLock(lockTimeoutMs);
    reload();

    const QJsonValue before = m_values.value(key);
    if (value)
        m_values.insert(key, *value);
    else
        m_values.remove(key);
    const bool changed = before != m_values.value(key);

    bool ok = true;
    if (!locked) {
        m_lastError = QStringLiteral("the preferences file is locked by another process");
        ok = false;
    } else {
        QSaveFile file(m_filePath);
        if (!file.open(QIODevice::WriteOnly) || !file.setPermissions(privateFile) ||
            file.write(QJsonDocument(m_values).toJson(QJsonDocument::Indented)) < 0 ||
            !file.commit()) {
            m_lastError = file.errorString();
            ok = false;
        } else {
            m_stamp = stampOnDisk();
        }
    }
    if (!ok) {
        qCWarning(lcCore, "Could not save preferences to %s: %s", qPrintable(m_filePath),
                  qPrintable(m_lastError));
    }
    // Released first: a receiver may well write a preference in turn.
    lock.unlock();
    if (changed)
        Q_EMIT valueChanged(key);
    return ok;
}

void Preferences::watchForChangesOnDisk()
{
    if (m_watcher)
        return;
    const QString folder = QFileInfo(m_filePath).absolutePath();
    QDir().mkpath(folder);
    m_watcher = new QFileSystemWatcher(this);
    // The folder, not the file: every write replaces the file with a new one.
    m_watcher->addPath(folder);
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] {
        if (m_loaded && stampOnDisk() == m_stamp)
            return;
        reload();
        Q_EMIT changedOnDisk();
    });
}
