#include "core/preferencekeys.h"
#include "core/preferences.h"
#include "platform/fakes/fakekeygrabber.h"
#include "triggers/hotkeymanager.h"

#include <QKeyEvent>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include <memory>

namespace {
constexpr quint64 shift = 0x20000;
constexpr quint64 control = 0x40000;
constexpr quint64 option = 0x80000;
constexpr quint64 command = 0x100000;
constexpr quint64 capsLock = 0x10000;
constexpr quint64 numericPad = 0x200000;
constexpr quint64 function = 0x800000;
constexpr quint16 keyA = 0;
constexpr quint16 keyL = 37;
constexpr quint16 keyK = 40;

// Key caps written as "Ctrl|Alt|K".
QStringList caps(const char *joined)
{
    return QString::fromUtf8(joined).split(QLatin1Char('|'));
}

// Receives what the application filter lets through.
class KeyTarget : public QObject
{
public:
    int presses = 0;

protected:
    bool event(QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress)
            ++presses;
        return QObject::event(event);
    }
};
} // namespace

class TestHotkeyManager : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Preferences> m_defaults;
    FakeKeyGrabber m_grabber;

    std::unique_ptr<HotkeyManager> makeManager()
    {
        return std::make_unique<HotkeyManager>(*m_defaults, m_grabber);
    }

    // True when a press of key with modifiers typed into the application was
    // swallowed before it reached its target.
    static bool pressInApplication(Qt::Key key, Qt::KeyboardModifiers modifiers,
                                   bool autoRepeat = false)
    {
        KeyTarget target;
        QKeyEvent press(QEvent::KeyPress, key, modifiers, QString(), autoRepeat);
        QCoreApplication::sendEvent(&target, &press);
        return target.presses == 0;
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_defaults =
            std::make_unique<Preferences>(m_dir->filePath(QStringLiteral("defaults.json")));
        m_grabber.setGlobalGrabSupported(true);
        m_grabber.setGrabResult(KeyGrabber::GrabResult::Grabbed);
        m_grabber.ungrab();
    }

    void startsWithCommandLWithoutWriting()
    {
        auto manager = makeManager();
        QCOMPARE(manager->displayString(), QStringLiteral("Super+L"));
        QVERIFY(m_defaults->keys().isEmpty());
        QVERIFY(!QFile::exists(m_defaults->filePath()));
    }

    void loadsStoredValues_data()
    {
        QTest::addColumn<QVariant>("modifiers");
        QTest::addColumn<QVariant>("keyCode");
        QTest::addColumn<QVariant>("character");
        QTest::addColumn<quint64>("expectedModifiers");
        QTest::addColumn<int>("expectedKeyCode");
        QTest::addColumn<QString>("expectedCharacter");
        QTest::addColumn<bool>("warns");

        const QVariant absent;
        QTest::addRow("stored combination")
            << QVariant(qint64(option | command)) << QVariant(qint64(keyK))
            << QVariant(QStringLiteral("K")) << (option | command) << int(keyK) << "K" << false;
        QTest::addRow("modifiers as text") << QVariant(QStringLiteral("1048576")) << absent
                                           << absent << command << int(keyL) << "L" << true;
        QTest::addRow("negative modifiers")
            << QVariant(qint64(-1)) << absent << absent << command << int(keyL) << "L" << true;
        QTest::addRow("no modifier at all") << QVariant(qint64(capsLock)) << absent << absent
                                            << command << int(keyL) << "L" << true;
        QTest::addRow("key code above 65535")
            << absent << QVariant(qint64(70000)) << absent << command << int(keyL) << "L" << true;
        QTest::addRow("key code as text") << absent << QVariant(QStringLiteral("40")) << absent
                                          << command << int(keyL) << "L" << true;
        QTest::addRow("character missing: the key's own label")
            << absent << QVariant(qint64(keyK)) << absent << command << int(keyK) << "K" << false;
        QTest::addRow("empty character of an unknown key")
            << absent << QVariant(qint64(200)) << QVariant(QString()) << command << 200 << "?"
            << true;
    }

    void loadsStoredValues()
    {
        QFETCH(QVariant, modifiers);
        QFETCH(QVariant, keyCode);
        QFETCH(QVariant, character);
        if (modifiers.isValid())
            QVERIFY(m_defaults->setValue(PreferenceKey::hotkeyModifiers, modifiers));
        if (keyCode.isValid())
            QVERIFY(m_defaults->setValue(PreferenceKey::hotkeyKeyCode, keyCode));
        if (character.isValid())
            QVERIFY(m_defaults->setValue(PreferenceKey::hotkeyCharacter, character));
        const QStringList keysBefore = m_defaults->keys();
        QFETCH(bool, warns);
        if (warns)
            QTest::ignoreMessage(QtWarningMsg,
                                 QRegularExpression(QStringLiteral("^HotkeyManager: ")));

        auto manager = makeManager();
        QTEST(manager->modifierFlags(), "expectedModifiers");
        QTEST(int(manager->keyCode()), "expectedKeyCode");
        QTEST(manager->keyCharacter(), "expectedCharacter");
        // A fallback is used, never written back.
        QCOMPARE(m_defaults->keys(), keysBefore);
        QCOMPARE(m_defaults->value(PreferenceKey::hotkeyModifiers), modifiers);
    }

    void displayString_data()
    {
        QTest::addColumn<quint64>("flags");
        QTest::addColumn<quint16>("keyCode");
        QTest::addColumn<QString>("character");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QStringList>("caps");
        QTest::addRow("all four in fixed order")
            << (command | shift | option | control) << keyK << "k"
            << "Ctrl+Alt+Shift+Super+K" << caps("Ctrl|Alt|Shift|Super|K");
        QTest::addRow("lock and pad bits hidden")
            << (option | command | capsLock | numericPad | function) << keyK << "K"
            << "Alt+Super+K" << caps("Alt|Super|K");
        // Whatever was stored for a key that types no character, its name shows.
        QTest::addRow("named key") << (control | option) << quint16(36) << "\r"
                                   << "Ctrl+Alt+Return" << caps("Ctrl|Alt|Return");
        QTest::addRow("key outside the basic plane") << control << keyA << "𝔸"
                                                     << "Ctrl+𝔸" << caps("Ctrl|𝔸");
    }

    void displayString()
    {
        QFETCH(quint64, flags);
        QFETCH(quint16, keyCode);
        QFETCH(QString, character);
        auto manager = makeManager();
        QSignalSpy changed(manager.get(), &HotkeyManager::displayStringChanged);
        manager->setModifierFlags(flags);
        manager->setKeyCode(keyCode);
        manager->setKeyCharacter(character);
        QFETCH(QString, expected);
        QCOMPARE(manager->displayString(), expected);
        QTEST(manager->displayParts(), "caps");
        QVERIFY(!changed.isEmpty());
        // Views without the manager read the same from the preferences.
        QCOMPARE(HotkeyManager::storedDisplayString(*m_defaults), expected);
    }

    void recording()
    {
        auto manager = makeManager();
        manager->registerHandler([] {});
        QSignalSpy posts(manager.get(), &HotkeyManager::hotkeyChanged);
        QSignalSpy recordingChanged(manager.get(), &HotkeyManager::recordingChanged);

        QVERIFY(!manager->recordKeyEvent(keyK, option | command, QStringLiteral("k")));
        QCOMPARE(manager->keyCode(), keyL);

        manager->startRecording();
        QVERIFY(manager->isRecording());
        // Pressing the old combination must record, not lock.
        QVERIFY(!m_grabber.heldCombination());

        QVERIFY(!manager->recordKeyEvent(keyA, 0, QStringLiteral("a")));
        QVERIFY(!manager->recordKeyEvent(keyA, capsLock, QStringLiteral("A")));
        QVERIFY(manager->isRecording());
        QCOMPARE(posts.count(), 0);

        QVERIFY(manager->recordKeyEvent(keyK, option | command | capsLock, QStringLiteral("k")));
        QVERIFY(!manager->isRecording());
        QCOMPARE(recordingChanged.count(), 2);
        QCOMPARE(manager->displayString(), QStringLiteral("Alt+Super+K"));
        QCOMPARE(posts.count(), 3);
        QCOMPARE(m_defaults->value(PreferenceKey::hotkeyModifiers), QVariant(qint64(0x180000)));
        QCOMPARE(m_defaults->value(PreferenceKey::hotkeyKeyCode), QVariant(qint64(keyK)));
        QCOMPARE(m_defaults->value(PreferenceKey::hotkeyCharacter), QVariant(QStringLiteral("K")));
        QCOMPARE(m_grabber.heldCombination(),
                 (FakeKeyGrabber::Combination{keyK, option | command}));

        manager->startRecording();
        QVERIFY(manager->recordKeyEvent(keyL, control, QString()));
        QCOMPARE(manager->keyCharacter(), QStringLiteral("?"));
    }

    void recordingThroughTheApplicationFilter()
    {
        auto manager = makeManager();
        manager->startRecording();
        QVERIFY(!pressInApplication(Qt::Key_A, Qt::NoModifier));
        QVERIFY(!pressInApplication(Qt::Key_Meta, Qt::MetaModifier));
        QVERIFY(manager->isRecording());
        QVERIFY(pressInApplication(Qt::Key_K, Qt::AltModifier | Qt::MetaModifier));
        QVERIFY(!manager->isRecording());
        QCOMPARE(manager->displayString(), QStringLiteral("Alt+Super+K"));
        // The filter is gone with the recording.
        QVERIFY(!pressInApplication(Qt::Key_K, Qt::AltModifier | Qt::MetaModifier));
    }

    void registrationDuringRecordingWaitsForTheWholeCombination()
    {
        auto manager = makeManager();
        const auto lock = [] {
        };
        manager->registerHandler(lock);
        // What the application does on every change notice.
        connect(manager.get(), &HotkeyManager::hotkeyChanged, manager.get(),
                [&manager, lock] { manager->registerHandler(lock); });
        manager->startRecording();
        const qsizetype before = m_grabber.requests().size();
        QVERIFY(manager->recordKeyEvent(keyK, option | command, QStringLiteral("k")));
        const QList<FakeKeyGrabber::Combination> requests = m_grabber.requests().mid(before);
        QCOMPARE(requests, (QList<FakeKeyGrabber::Combination>{{keyK, option | command}}));

        manager->startRecording();
        manager->cancelRecording();
        QCOMPARE(m_grabber.heldCombination(),
                 (FakeKeyGrabber::Combination{keyK, option | command}));
    }

    void registerReplacesTheHandler()
    {
        auto manager = makeManager();
        int first = 0;
        int second = 0;
        manager->registerHandler([&first] { ++first; });
        manager->registerHandler([&second] { ++second; });
        QVERIFY(manager->isGlobalMonitorInstalled());
        QVERIFY(!manager->isLocalMonitorInstalled());
        QCOMPARE(m_grabber.heldCombination(), (FakeKeyGrabber::Combination{keyL, command}));

        QVERIFY(m_grabber.press());
        // Global presses reach the handler on a later turn of the event loop.
        QCOMPARE(second, 0);
        QTRY_COMPARE(second, 1);
        QCOMPARE(first, 0);
        // Inside the application the global grab already covers the keys.
        QVERIFY(!pressInApplication(Qt::Key_L, Qt::MetaModifier));

        manager->unregister();
        QVERIFY(!m_grabber.heldCombination());
        QVERIFY(!manager->isGlobalMonitorInstalled());
    }

    void unregisterDropsAPressAlreadyOnItsWay()
    {
        auto manager = makeManager();
        int calls = 0;
        manager->registerHandler([&calls] { ++calls; });
        QVERIFY(m_grabber.press());
        manager->unregister();
        QCoreApplication::processEvents();
        QCOMPARE(calls, 0);
    }

    void localMonitorWithoutGlobalGrabs()
    {
        m_grabber.setGlobalGrabSupported(false);
        auto manager = makeManager();
        QVERIFY(!manager->isGlobalGrabSupported());
        int first = 0;
        int second = 0;
        manager->registerHandler([&first] { ++first; });
        manager->registerHandler([&second] { ++second; });
        QVERIFY(manager->isLocalMonitorInstalled());
        QVERIFY(!manager->hasConflict());

        QVERIFY(pressInApplication(Qt::Key_L, Qt::MetaModifier));
        QCOMPARE(second, 1); // at once, and only the latest handler
        QCOMPARE(first, 0);
        QVERIFY(!pressInApplication(Qt::Key_L, Qt::MetaModifier | Qt::ShiftModifier));
        QVERIFY(!pressInApplication(Qt::Key_K, Qt::MetaModifier));
        QVERIFY(!pressInApplication(Qt::Key_L, Qt::NoModifier));
        QVERIFY(pressInApplication(Qt::Key_L, Qt::MetaModifier, true));
        QCOMPARE(second, 1);

        manager->unregister();
        QVERIFY(!pressInApplication(Qt::Key_L, Qt::MetaModifier));
        QCOMPARE(second, 1);
    }

    void ownTypingWindowsKeepTheirKeys()
    {
        auto manager = makeManager();
        int locks = 0;
        manager->registerHandler([&locks] { ++locks; });
        {
            QWindow settings;
            settings.show();
            settings.requestActivate();
            QTRY_VERIFY(manager->isTypingWindowFocused());
            // Neither the grab nor the application filter takes the keys.
            QVERIFY(!m_grabber.heldCombination());
            QVERIFY(!m_grabber.press());
            QVERIFY(!pressInApplication(Qt::Key_L, Qt::MetaModifier));
            // A combination held elsewhere is still found out.
            m_grabber.setGrabResult(KeyGrabber::GrabResult::Refused);
            manager->registerHandler([&locks] { ++locks; });
            QVERIFY(manager->hasConflict());
            m_grabber.setGrabResult(KeyGrabber::GrabResult::Grabbed);
            manager->registerHandler([&locks] { ++locks; });
            QVERIFY(!m_grabber.heldCombination());

            // The tray's pop-up panel is no place for typing.
            QWindow panel;
            panel.setFlags(Qt::Popup);
            panel.show();
            panel.requestActivate();
            QTRY_VERIFY(!manager->isTypingWindowFocused());
            QVERIFY(m_grabber.press());
            QTRY_COMPARE(locks, 1);
            panel.hide();
            settings.requestActivate();
            QTRY_VERIFY(manager->isTypingWindowFocused());
        }
        QTRY_VERIFY(!manager->isTypingWindowFocused());
        QVERIFY(m_grabber.press());
        QTRY_COMPARE(locks, 2);
        QCOMPARE(locks, 2);
    }

    void refusedGrabFallsBackToTheLocalMonitor()
    {
        m_grabber.setGrabResult(KeyGrabber::GrabResult::Refused);
        auto manager = makeManager();
        QSignalSpy conflict(manager.get(), &HotkeyManager::conflictChanged);
        int calls = 0;
        manager->registerHandler([&calls] { ++calls; });
        QVERIFY(manager->hasConflict());
        QVERIFY(manager->conflictMessage().contains(QStringLiteral("Super+L")));
        QCOMPARE(conflict.count(), 1);
        QVERIFY(!manager->isGlobalMonitorInstalled());
        QVERIFY(manager->isLocalMonitorInstalled());
        QVERIFY(pressInApplication(Qt::Key_L, Qt::MetaModifier));
        QCOMPARE(calls, 1);

        // The other application let go: the next registration takes it.
        m_grabber.setGrabResult(KeyGrabber::GrabResult::Grabbed);
        manager->registerHandler([&calls] { ++calls; });
        QVERIFY(!manager->hasConflict());
        QVERIFY(manager->conflictMessage().isEmpty());
        QCOMPARE(conflict.count(), 2);
        QVERIFY(manager->isGlobalMonitorInstalled());
        QVERIFY(!pressInApplication(Qt::Key_L, Qt::MetaModifier));
    }

    void combinationWithoutModifierIsNeverInstalled()
    {
        auto manager = makeManager();
        manager->setModifierFlags(capsLock);
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("^HotkeyManager: not installing")));
        int calls = 0;
        manager->registerHandler([&calls] { ++calls; });
        QVERIFY(!m_grabber.heldCombination());
        QVERIFY(!manager->isLocalMonitorInstalled());
        QVERIFY(!pressInApplication(Qt::Key_L, Qt::NoModifier));
        QCOMPARE(calls, 0);
    }
};

QTEST_MAIN(TestHotkeyManager)
#include "tst_hotkeymanager.moc"
