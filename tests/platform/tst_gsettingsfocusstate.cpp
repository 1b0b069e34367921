#include "platform/linux/gsettingsfocusstate.h"

#include <QSignalSpy>
#include <QTest>

#include <gio/gio.h>

#include <memory>

// GNOME's Do Not Disturb setting, in an in-memory settings backend that the
// test writes through a GSettings object of its own.
class TestGSettingsFocusState : public QObject
{
    Q_OBJECT

private:
    GSettings *m_writer = nullptr;

    void showBanners(bool show) { QVERIFY(g_settings_set_boolean(m_writer, "show-banners", show)); }

private Q_SLOTS:
    void initTestCase()
    {
        // Before the first GSettings: the backend is chosen once per process.
        qputenv("GSETTINGS_BACKEND", "memory");
        if (!g_settings_schema_source_lookup(g_settings_schema_source_get_default(),
                                             GSettingsFocusState::defaultSchema, TRUE))
            QSKIP("gsettings-desktop-schemas is not installed");
        m_writer = g_settings_new(GSettingsFocusState::defaultSchema);
    }

    void cleanupTestCase()
    {
        if (m_writer)
            g_object_unref(m_writer);
    }

    void init() { showBanners(true); }

    void unusableSchemas_data()
    {
        QTest::addColumn<QString>("schema");
        QTest::addRow("not installed") << QStringLiteral("org.example.NoSuchSchema");
        QTest::addRow("without show-banners") << QStringLiteral("org.gnome.desktop.interface");
        QTest::addRow("empty") << QString();
    }

    void unusableSchemas()
    {
        QFETCH(QString, schema);
        QVERIFY(!GSettingsFocusState::create(schema));
    }

    void readsAtStart()
    {
        showBanners(false);
        const auto state = GSettingsFocusState::create();
        QVERIFY(state);
        QVERIFY(state->isFocusActive());
    }

    void followsChanges()
    {
        const auto state = GSettingsFocusState::create();
        QVERIFY(state);
        QSignalSpy changed(state.get(), &FocusState::stateChanged);
        QVERIFY(!state->isFocusActive());

        // GLib may deliver the change before the write returns or on a later
        // turn of the event loop.
        showBanners(false);
        QTRY_COMPARE(changed.count(), 1);
        QVERIFY(state->isFocusActive());

        showBanners(true);
        QTRY_COMPARE(changed.count(), 2);
        QVERIFY(!state->isFocusActive());
    }
};

QTEST_GUILESS_MAIN(TestGSettingsFocusState)
#include "tst_gsettingsfocusstate.moc"
