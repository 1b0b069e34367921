#include "platform/linux/desktopcolorschemesource.h"
#include "standins/fakeportalsettings.h"

#include <QDBusConnection>
#include <QDBusVariant>
#include <QSignalSpy>
#include <QTest>

#include <gio/gio.h>

// The desktop's colour scheme against a stand-in portal on the private bus.
class TestDesktopColorSchemeSource : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void portalValues_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("scheme");
        using Scheme = ColorSchemeSource::Scheme;
        QTest::addRow("no preference") << QVariant(0u) << int(Scheme::noPreference);
        QTest::addRow("dark") << QVariant(1u) << int(Scheme::dark);
        QTest::addRow("light") << QVariant(2u) << int(Scheme::light);
        QTest::addRow("out of range") << QVariant(7u) << int(Scheme::noPreference);
        QTest::addRow("wrapped twice")
            << QVariant::fromValue(QDBusVariant(QVariant::fromValue(QDBusVariant(1u))))
            << int(Scheme::dark);
        QTest::addRow("text") << QVariant(QStringLiteral("dark")) << int(Scheme::noPreference);
        QTest::addRow("nothing") << QVariant() << int(Scheme::noPreference);
    }
    void portalValues()
    {
        QFETCH(QVariant, value);
        QTEST(int(DesktopColorSchemeSource::fromPortalValue(value)), "scheme");
    }

    void gnomeValues()
    {
        using Scheme = ColorSchemeSource::Scheme;
        QCOMPARE(DesktopColorSchemeSource::fromGnomeValue(QStringLiteral("prefer-dark")),
                 Scheme::dark);
        QCOMPARE(DesktopColorSchemeSource::fromGnomeValue(QStringLiteral("prefer-light")),
                 Scheme::light);
        QCOMPARE(DesktopColorSchemeSource::fromGnomeValue(QStringLiteral("default")),
                 Scheme::noPreference);
    }

    void readsAndFollowsThePortal()
    {
        FakePortalSettings portal;
        portal.change(1);
        QVERIFY(portal.publish());
        DesktopColorSchemeSource source(QDBusConnection::sessionBus(), QString());
        QSignalSpy changed(&source, &ColorSchemeSource::schemeChanged);
        QTRY_COMPARE(source.scheme(), ColorSchemeSource::Scheme::dark);
        QVERIFY(source.isPortalAnswering());

        portal.change(2);
        QTRY_COMPARE(source.scheme(), ColorSchemeSource::Scheme::light);
        QCOMPARE(changed.count(), 2);
    }

    void aPortalStartingLaterTakesOver()
    {
        // The fallback schema does not exist: no portal and no GNOME means
        // no preference, and nothing aborts.
        DesktopColorSchemeSource source(QDBusConnection::sessionBus(),
                                        QStringLiteral("org.example.no.such.schema"));
        QCOMPARE(source.scheme(), ColorSchemeSource::Scheme::noPreference);
        FakePortalSettings portal;
        portal.change(1);
        QVERIFY(portal.publish());
        QTRY_COMPARE(source.scheme(), ColorSchemeSource::Scheme::dark);
    }

    void survivesThePortalGoingAway()
    {
        auto portal = std::make_unique<FakePortalSettings>();
        portal->change(2);
        QVERIFY(portal->publish());
        DesktopColorSchemeSource source(QDBusConnection::sessionBus(), QString());
        QTRY_COMPARE(source.scheme(), ColorSchemeSource::Scheme::light);
        portal.reset();
        // The last known value stays.
        QCOMPARE(source.scheme(), ColorSchemeSource::Scheme::light);
    }

    void gnomeFallbackWithoutPortal()
    {
        // GLib's in-memory settings: nothing of the real desktop is touched.
        qputenv("GSETTINGS_BACKEND", "memory");
        GSettings *gnome = g_settings_new(DesktopColorSchemeSource::gnomeSchema);
        g_settings_set_string(gnome, "color-scheme", "prefer-dark");
        DesktopColorSchemeSource source(QDBusConnection::sessionBus(),
                                        QLatin1String(DesktopColorSchemeSource::gnomeSchema));
        QTRY_COMPARE(source.scheme(), ColorSchemeSource::Scheme::dark);
        QVERIFY(!source.isPortalAnswering());
        g_settings_set_string(gnome, "color-scheme", "prefer-light");
        QTRY_COMPARE(source.scheme(), ColorSchemeSource::Scheme::light);
        g_object_unref(gnome);
    }
};

QTEST_GUILESS_MAIN(TestDesktopColorSchemeSource)
#include "tst_desktopcolorschemesource.moc"
