#pragma once

#include <QAnyStringView>
#include <QByteArray>
#include <QJsonObject>
#include <QObject>
#include <QString>
#include <QVariant>

#include <optional>

// The per-user preferences: one JSON file of typed values.
//
// Values keep their type across a reload: Bool, integer, string and the
// double and data kinds (which JSON alone cannot tell apart from integers and
// strings) come back as they were written. Each write is atomic and the file is
// private to the user, since it holds the scrambled PIN and tokens. Another
// process (the `vostrel defaults` command) may edit the same file: every read
// first checks whether the file changed on disk, and every write re-reads the
// file under a lock before applying its one change, so a newer value written
// elsewhere is never replaced by a stale copy.
class QFileSystemWatcher;

class Preferences : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Preferences)

public:
    explicit Preferences(const QString &filePath, QObject *parent = nullptr);
    ~Preferences() override;

    // The user's own preferences file under $XDG_CONFIG_HOME.
    static QString standardFilePath();

    [[nodiscard]] QString filePath() const { return m_filePath; }

    // The stored value with its type (bool, qint64, double, QString or
    // QByteArray), or an invalid QVariant when the key is absent or unreadable.
    [[nodiscard]] QVariant value(QAnyStringView key) const;
    [[nodiscard]] bool contains(QAnyStringView key) const;
    [[nodiscard]] QStringList keys() const;

    // Readers with the conventional fallbacks: false, 0, 0.0 or nothing when
    // the key is absent. Numbers, Bools and numeric strings convert into each
    // other the way a user would expect.
    [[nodiscard]] bool boolValue(QAnyStringView key) const;
    [[nodiscard]] qint64 integer(QAnyStringView key) const;
    [[nodiscard]] double doubleValue(QAnyStringView key) const;
    [[nodiscard]] std::optional<QString> string(QAnyStringView key) const;
    [[nodiscard]] std::optional<QByteArray> data(QAnyStringView key) const;

    // Each returns false when the file could not be written; the value is then
    // still used by this process until the next change on disk.
    bool setValue(QAnyStringView key, const QVariant &value);
    bool setBool(QAnyStringView key, bool value) { return setValue(key, value); }
    bool setInteger(QAnyStringView key, qint64 value) { return setValue(key, value); }
    bool setDouble(QAnyStringView key, double value) { return setValue(key, value); }
    bool setString(QAnyStringView key, const QString &value) { return setValue(key, value); }
    bool setData(QAnyStringView key, const QByteArray &value) { return setValue(key, value); }
    bool remove(QAnyStringView key);

    [[nodiscard]] QString lastError() const { return m_lastError; }

    // From now on, notices when another process changes the file and says so
    // through changedOnDisk(). Reads see such changes anyway; this is for
    // those who cache what they read.
    void watchForChangesOnDisk();

Q_SIGNALS:
    // Emitted for a change made through this object.
    void valueChanged(const QString &key);
    // The file was changed by another process (see watchForChangesOnDisk()).
    void changedOnDisk();

private:
    struct FileStamp
    {
        bool exists = false;
        quint64 device = 0;
        quint64 inode = 0;
        qint64 size = 0;
        qint64 modifiedNs = 0;
        bool operator==(const FileStamp &) const = default;
    };

    [[nodiscard]] const QJsonObject &current() const;
    void reload() const;
    void moveAside(const QString &reason) const;
    bool write(const QString &key, const std::optional<QJsonValue> &value);
    [[nodiscard]] FileStamp stampOnDisk() const;

    QString m_filePath;
    mutable QJsonObject m_values;
    mutable FileStamp m_stamp;
    mutable bool m_loaded = false;
    QString m_lastError;
    QFileSystemWatcher *m_watcher = nullptr;
};
