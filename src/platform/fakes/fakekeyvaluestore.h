#pragma once

#include "platform/keyvaluestore.h"

#include <QHash>

// Values in memory; a test plays the other machines by changing them with
// changeExternally(), which emits as a real store would.
class FakeKeyValueStore : public KeyValueStore
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FakeKeyValueStore)

public:
    explicit FakeKeyValueStore(QObject *parent = nullptr)
        : KeyValueStore(parent)
    {}
    ~FakeKeyValueStore() override = default;

    [[nodiscard]] bool isSignedIn() const override { return m_isSignedIn; }
    [[nodiscard]] QVariant value(const QString &key) const override { return m_values.value(key); }
    void setValue(const QString &key, const QVariant &value) override
    {
        m_values.insert(key, value);
        ++m_setCount;
    }
    bool synchronize() override
    {
        ++m_synchronizeCount;
        return true;
    }

    void setSignedIn(bool signedIn) { m_isSignedIn = signedIn; }
    // Sets values as another machine would, then announces them.
    void changeExternally(const QVariantHash &values, int reason)
    {
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            m_values.insert(it.key(), it.value());
        Q_EMIT didChangeExternally(reason, values.keys());
    }

    [[nodiscard]] const QVariantHash &values() const { return m_values; }
    [[nodiscard]] int setCount() const { return m_setCount; }
    [[nodiscard]] int synchronizeCount() const { return m_synchronizeCount; }

private:
    QVariantHash m_values;
    bool m_isSignedIn = true;
    int m_setCount = 0;
    int m_synchronizeCount = 0;
};
