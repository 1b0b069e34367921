#include "core/preferencekeys.h"
#include "core/preferences.h"
#include "platform/fakes/fakekeygrabber.h"
#include "settings/hotkeyrecorder.h"
#include "triggers/hotkeymanager.h"

#include <QKeyEvent>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include <optional>

// The Lock hotkey row driven by real key events, as the settings window
// receives them.
class TestHotkeyRecorder : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_dir.emplace();
        m_defaults.emplace(m_dir->filePath(QStringLiteral("defaults.json")));
        m_grabber.emplace();
        m_manager.emplace(*m_defaults, *m_grabber);
        m_manager->registerHandler([] {});
        m_recorder.emplace(*m_manager);
    }
    void cleanup()
    {
        m_recorder.reset();
        m_manager.reset();
        m_grabber.reset();
        m_defaults.reset();
        m_dir.reset();
    }

    void recordsOptionShiftK()
    {
        QSignalSpy caps(&*m_recorder, &HotkeyRecorder::keyCapsChanged);
        m_recorder->change();
        QVERIFY(m_recorder->isRecording());

        // A key without a modifier is passed on and recording goes on.
        QWindow window;
        QKeyEvent plain(QEvent::KeyPress, Qt::Key_L, Qt::NoModifier, QStringLiteral("l"));
        QCoreApplication::sendEvent(&window, &plain);
        QVERIFY(m_recorder->isRecording());
        QCOMPARE(m_manager->keyCode(), HotkeyManager::defaultKeyCode);

        QKeyEvent optionShiftK(QEvent::KeyPress, Qt::Key_K, Qt::AltModifier | Qt::ShiftModifier,
                               QStringLiteral("K"));
        QCoreApplication::sendEvent(&window, &optionShiftK);
        QVERIFY(!m_recorder->isRecording());
        QCOMPARE(m_defaults->integer(PreferenceKey::hotkeyModifiers), 0xA0000);
        QCOMPARE(m_recorder->keyCaps(), (QStringList{QStringLiteral("Alt"), QStringLiteral("Shift"),
                                                     QStringLiteral("K")}));
        QVERIFY(caps.count() >= 1);
        // The new combination is what the display server is asked for.
        QCOMPARE(m_grabber->heldCombination()->keyCode, quint16(40));
    }

    void rowGoingAwayStopsRecording()
    {
        m_recorder->change();
        m_recorder.reset();
        QVERIFY(!m_manager->isRecording());
        QVERIFY(m_manager->isGlobalMonitorInstalled());
    }

    void refusedCombinationIsNamed()
    {
        m_grabber->setGrabResult(KeyGrabber::GrabResult::Refused);
        QSignalSpy conflict(&*m_recorder, &HotkeyRecorder::conflictChanged);
        m_recorder->change();
        QWindow window;
        QKeyEvent press(QEvent::KeyPress, Qt::Key_K, Qt::ControlModifier, QStringLiteral("k"));
        QCoreApplication::sendEvent(&window, &press);
        QVERIFY(conflict.count() >= 1);
        QVERIFY2(m_recorder->conflictMessage().contains(QStringLiteral("already used")),
                 qPrintable(m_recorder->conflictMessage()));
    }

private:
    std::optional<QTemporaryDir> m_dir;
    std::optional<Preferences> m_defaults;
    std::optional<FakeKeyGrabber> m_grabber;
    std::optional<HotkeyManager> m_manager;
    std::optional<HotkeyRecorder> m_recorder;
};

QTEST_MAIN(TestHotkeyRecorder)
#include "tst_hotkeyrecorder.moc"
