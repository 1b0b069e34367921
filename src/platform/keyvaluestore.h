#pragma once

#include <QObject>
#include <QStringList>
#include <QVariant>

// A small store of typed values that the user's other machines share. Values
// are set locally at once and reach the other machines at synchronize();
// what they write arrives as an external change.
class KeyValueStore : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(KeyValueStore)

public:
    // The reasons an external change carries, with their established values.
    enum ChangeReason {
        serverChange = 0,
        initialSyncChange = 1,
        quotaViolationChange = 2,
        accountChange = 3,
    };
    Q_ENUM(ChangeReason)

    explicit KeyValueStore(QObject *parent = nullptr)
        : QObject(parent)
    {}
    ~KeyValueStore() override = default;

    // The user has a place to sync to; without it the store holds nothing.
    [[nodiscard]] virtual bool isSignedIn() const = 0;

    // A bool, qint64, double, QString or QByteArray; invalid when absent.
    [[nodiscard]] virtual QVariant value(const QString &key) const = 0;
    virtual void setValue(const QString &key, const QVariant &value) = 0;
    // Sends what was set and takes in what others wrote. False when the
    // local values could not be written out; they are kept for the next try.
    virtual bool synchronize() = 0;

Q_SIGNALS:
    // Values changed by someone else. Emitted on the store's thread.
    void didChangeExternally(int reason, const QStringList &changedKeys);
};
