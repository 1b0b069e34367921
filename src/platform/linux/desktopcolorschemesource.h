#pragma once

#include "platform/colorschemesource.h"

#include <QDBusConnection>
#include <QString>

struct _GSettings;
class QDBusServiceWatcher;
class QDBusVariant;

// The desktop's light or dark preference: the desktop portal's
// org.freedesktop.appearance color-scheme, read without blocking and followed
// through the portal's SettingChanged; where no portal answers, GNOME's
// org.gnome.desktop.interface color-scheme. A portal that starts later
// takes over from the fallback.
class DesktopColorSchemeSource : public ColorSchemeSource
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DesktopColorSchemeSource)

public:
    static constexpr const char *portalService = "org.freedesktop.portal.Desktop";
    static constexpr const char *portalPath = "/org/freedesktop/portal/desktop";
    static constexpr const char *portalInterface = "org.freedesktop.portal.Settings";
    static constexpr const char *gnomeSchema = "org.gnome.desktop.interface";

    explicit DesktopColorSchemeSource(QObject *parent = nullptr);
    DesktopColorSchemeSource(const QDBusConnection &bus, const QString &fallbackSchema,
                             QObject *parent = nullptr);
    ~DesktopColorSchemeSource() override;

    [[nodiscard]] Scheme scheme() const override { return m_scheme; }
    // True once the portal has answered; the fallback is then left alone.
    [[nodiscard]] bool isPortalAnswering() const { return m_portalAnswered; }

    // A portal value (uint 0, 1, 2, possibly wrapped in variants); anything
    // else is noPreference.
    [[nodiscard]] static Scheme fromPortalValue(const QVariant &value);
    // GNOME's enum nick: "prefer-dark", "prefer-light", "default".
    [[nodiscard]] static Scheme fromGnomeValue(const QString &value);

private Q_SLOTS:
    void onSettingChanged(const QString &nameSpace, const QString &key, const QDBusVariant &value);

private:
    void readPortal();
    void useFallback();
    void readFallback();
    void setScheme(Scheme scheme);
    static void onGSettingsChanged(_GSettings *settings, char *key, void *self);

    QDBusConnection m_bus;
    QString m_fallbackSchema;
    QDBusServiceWatcher *m_watcher = nullptr;
    _GSettings *m_settings = nullptr;
    unsigned long m_handler = 0;
    Scheme m_scheme = Scheme::noPreference;
    bool m_portalAnswered = false;
};
