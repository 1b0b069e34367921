#pragma once

#include <QDBusVariant>
#include <QObject>
#include <QString>
#include <QVariant>

// The desktop portal's org.freedesktop.portal.Settings, holding one value:
// org.freedesktop.appearance color-scheme.
class FakePortalSettings : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FakePortalSettings)
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Settings")

public:
    explicit FakePortalSettings(QObject *parent = nullptr);
    ~FakePortalSettings() override;

    // Takes org.freedesktop.portal.Desktop on a connection of its own.
    bool publish();
    void vanish();

    // Stores the value and announces it with SettingChanged.
    void change(uint colorScheme);
    [[nodiscard]] int reads() const { return m_reads; }

public Q_SLOTS:
    // As the portal answers: the value wrapped in a second variant.
    QDBusVariant Read(const QString &nameSpace, const QString &key);

Q_SIGNALS:
    void SettingChanged(const QString &nameSpace, const QString &key, const QDBusVariant &value);

private:
    QString m_connectionName;
    uint m_colorScheme = 0;
    int m_reads = 0;
};
