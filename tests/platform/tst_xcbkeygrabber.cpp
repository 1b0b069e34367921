#include "platform/linux/keyrepeatfilter.h"
#include "platform/linux/xcbkeygrabber.h"

#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <cstdlib>
#include <memory>

namespace {
constexpr quint16 keyL = 37;
constexpr quint16 keyK = 40;
constexpr quint64 shift = 0x20000;
constexpr quint64 command = 0x100000;
constexpr quint32 keysymL = 0x6c;
constexpr int eventTimeoutMs = 5000;

// A plain X client of the test's own, for grabs the grabber under test must
// run into.
class RawClient
{
public:
    RawClient()
        : m_connection(xcb_connect(nullptr, nullptr))
    {
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        xcb_key_symbols_t *symbols = xcb_key_symbols_alloc(m_connection);
        xcb_keycode_t *codes = xcb_key_symbols_get_keycode(symbols, keysymL);
        m_keycodeL = codes ? codes[0] : 0;
        std::free(codes);
        xcb_key_symbols_free(symbols);
    }
    ~RawClient() { xcb_disconnect(m_connection); }
    RawClient(const RawClient &) = delete;
    RawClient &operator=(const RawClient &) = delete;

    [[nodiscard]] bool isConnected() const
    {
        return xcb_connection_has_error(m_connection) == 0 && m_keycodeL != 0;
    }

    // The X error code, or 0 when the grab was granted.
    int grabL(uint16_t modifiers)
    {
        const xcb_void_cookie_t cookie =
            xcb_grab_key_checked(m_connection, 0, m_root, modifiers, m_keycodeL,
                                 XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
        xcb_generic_error_t *error = xcb_request_check(m_connection, cookie);
        const int code = error ? error->error_code : 0;
        std::free(error);
        return code;
    }

    void ungrabL(uint16_t modifiers)
    {
        xcb_ungrab_key(m_connection, m_keycodeL, m_root, modifiers);
        std::free(
            xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
    }

private:
    xcb_connection_t *m_connection;
    xcb_window_t m_root = XCB_NONE;
    xcb_keycode_t m_keycodeL = 0;
};

bool xdotool(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral("xdotool"), arguments);
    if (!process.waitForFinished(eventTimeoutMs)) {
        qWarning() << "xdotool did not finish:" << arguments;
        return false;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        qWarning() << "xdotool failed:" << arguments << process.readAllStandardError();
        return false;
    }
    return true;
}
} // namespace

class TestXcbKeyGrabber : public QObject
{
    Q_OBJECT

private:
    QStringList m_lockKeysOn;

private Q_SLOTS:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            QSKIP("needs an X display: run inside scripts/with-session");
        QVERIFY(RawClient().isConnected());
    }

    void cleanup()
    {
        // Lock keys toggle: press them again so the next test starts with them off.
        for (const QString &lockKey : std::as_const(m_lockKeysOn))
            QVERIFY(xdotool({QStringLiteral("key"), lockKey}));
        m_lockKeysOn.clear();
    }

    void supportedOnX11()
    {
        XcbKeyGrabber grabber;
        QVERIFY(grabber.isGlobalGrabSupported());

        qputenv("WAYLAND_DISPLAY", "wayland-0");
        const bool underWayland = grabber.isGlobalGrabSupported();
        qunsetenv("WAYLAND_DISPLAY");
        QVERIFY(!underWayland);
    }

    void withoutAServerNothingIsGrabbed()
    {
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("cannot connect")));
        XcbKeyGrabber grabber(QByteArrayLiteral(":4095"));
        QVERIFY(!grabber.isGlobalGrabSupported());
        QCOMPARE(grabber.grab(keyL, command), KeyGrabber::GrabResult::Unavailable);
        grabber.ungrab();
        grabber.processPendingEvents();
    }

    void firesOncePerPress_data()
    {
        QTest::addColumn<QString>("lockKey");
        QTest::addRow("no lock key") << QString();
        QTest::addRow("Caps Lock on") << QStringLiteral("Caps_Lock");
        QTest::addRow("Num Lock on") << QStringLiteral("Num_Lock");
    }

    void firesOncePerPress()
    {
        QFETCH(QString, lockKey);
        XcbKeyGrabber grabber;
        QCOMPARE(grabber.grab(keyL, command), KeyGrabber::GrabResult::Grabbed);
        QSignalSpy activated(&grabber, &KeyGrabber::activated);
        if (!lockKey.isEmpty()) {
            QVERIFY(xdotool({QStringLiteral("key"), lockKey}));
            m_lockKeysOn.append(lockKey);
        }

        QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("super+l")}));
        QVERIFY(activated.wait(eventTimeoutMs));
        grabber.processPendingEvents();
        QCOMPARE(activated.count(), 1);

        QVERIFY(
            xdotool({QStringLiteral("key"), QStringLiteral("super+l"), QStringLiteral("super+l")}));
        grabber.processPendingEvents();
        QCOMPARE(activated.count(), 3);
    }

    void otherCombinationsPassBy()
    {
        XcbKeyGrabber grabber;
        QCOMPARE(grabber.grab(keyL, command), KeyGrabber::GrabResult::Grabbed);
        QSignalSpy activated(&grabber, &KeyGrabber::activated);
        QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("l"), QStringLiteral("ctrl+l"),
                         QStringLiteral("super+shift+l"), QStringLiteral("super+k")}));
        grabber.processPendingEvents();
        QCOMPARE(activated.count(), 0);
    }

    void heldKeyFiresOnce()
    {
        XcbKeyGrabber grabber;
        QCOMPARE(grabber.grab(keyL, command), KeyGrabber::GrabResult::Grabbed);
        QSignalSpy activated(&grabber, &KeyGrabber::activated);
        // Held past the auto-repeat delay, the key repeats on the server.
        QVERIFY(xdotool({QStringLiteral("keydown"), QStringLiteral("super+l"),
                         QStringLiteral("sleep"), QStringLiteral("1"), QStringLiteral("keyup"),
                         QStringLiteral("l"), QStringLiteral("keyup"), QStringLiteral("super")}));
        grabber.processPendingEvents();
        QCOMPARE(activated.count(), 1);
    }

    void refusedWhileAnotherClientHoldsIt()
    {
        XcbKeyGrabber first;
        XcbKeyGrabber second;
        QCOMPARE(first.grab(keyL, command), KeyGrabber::GrabResult::Grabbed);
        QCOMPARE(second.grab(keyL, command), KeyGrabber::GrabResult::Refused);
        // Other keys and other modifiers are still free.
        QCOMPARE(second.grab(keyK, command), KeyGrabber::GrabResult::Grabbed);
        QCOMPARE(second.grab(keyL, command | shift), KeyGrabber::GrabResult::Grabbed);

        first.ungrab();
        QCOMPARE(second.grab(keyL, command), KeyGrabber::GrabResult::Grabbed);
        QSignalSpy firstActivated(&first, &KeyGrabber::activated);
        QSignalSpy secondActivated(&second, &KeyGrabber::activated);
        QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("super+l")}));
        QVERIFY(secondActivated.wait(eventTimeoutMs));
        first.processPendingEvents();
        QCOMPARE(firstActivated.count(), 0);
    }

    void partlyRefusedGrabLeavesNothingBehind()
    {
        RawClient other;
        // Only the Caps Lock variant is taken.
        QCOMPARE(other.grabL(XCB_MOD_MASK_4 | XCB_MOD_MASK_LOCK), 0);
        XcbKeyGrabber grabber;
        QCOMPARE(grabber.grab(keyL, command), KeyGrabber::GrabResult::Refused);
        // The variants the grabber did get must have been let go again.
        QCOMPARE(other.grabL(XCB_MOD_MASK_4), 0);
        other.ungrabL(XCB_MOD_MASK_4);
        other.ungrabL(XCB_MOD_MASK_4 | XCB_MOD_MASK_LOCK);
        QCOMPARE(grabber.grab(keyL, command), KeyGrabber::GrabResult::Grabbed);
        QCOMPARE(other.grabL(XCB_MOD_MASK_4), 10); // BadAccess
    }

    void ungrabAndDestructionFreeTheCombination()
    {
        RawClient other;
        {
            XcbKeyGrabber grabber;
            QCOMPARE(grabber.grab(keyL, command), KeyGrabber::GrabResult::Grabbed);
            QSignalSpy activated(&grabber, &KeyGrabber::activated);
            grabber.ungrab();
            QCOMPARE(other.grabL(XCB_MOD_MASK_4), 0);
            other.ungrabL(XCB_MOD_MASK_4);
            QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("super+l")}));
            grabber.processPendingEvents();
            QCOMPARE(activated.count(), 0);
            QCOMPARE(grabber.grab(keyL, command), KeyGrabber::GrabResult::Grabbed);
        }
        QCOMPARE(other.grabL(XCB_MOD_MASK_4 | XCB_MOD_MASK_LOCK), 0);
    }

    void unknownKeyIsUnsupported()
    {
        XcbKeyGrabber grabber;
        QCOMPARE(grabber.grab(200, command), KeyGrabber::GrabResult::UnsupportedKey);
    }

    void repeatFilter_data()
    {
        // Each step: 'p' or 'r', key code, server time.
        using Step = std::tuple<char, int, int>;
        QTest::addColumn<QList<Step>>("steps");
        QTest::addColumn<QList<bool>>("fresh");
        QTest::addRow("press and release")
            << QList<Step>{{'p', 46, 10}, {'r', 46, 20}, {'p', 46, 30}, {'r', 46, 40}}
            << QList<bool>{true, true};
        QTest::addRow("release/press pairs of one time are repeats")
            << QList<Step>{{'p', 46, 10},  {'r', 46, 500}, {'p', 46, 500}, {'r', 46, 530},
                           {'p', 46, 530}, {'r', 46, 600}, {'p', 46, 700}}
            << QList<bool>{true, false, false, true};
        QTest::addRow("presses without release are repeats")
            << QList<Step>{{'p', 46, 10}, {'p', 46, 500}, {'p', 46, 530}, {'r', 46, 560}}
            << QList<bool>{true, false, false};
        QTest::addRow("another key's release pairs with nothing")
            << QList<Step>{{'p', 46, 10}, {'r', 46, 20}, {'r', 45, 30}, {'p', 46, 30}}
            << QList<bool>{true, true};
    }

    void repeatFilter()
    {
        using Step = std::tuple<char, int, int>;
        QFETCH(QList<Step>, steps);
        KeyRepeatFilter filter;
        QList<bool> fresh;
        for (const auto &[kind, keycode, time] : steps) {
            if (kind == 'p')
                fresh.append(filter.press(quint8(keycode), quint32(time)));
            else
                filter.release(quint8(keycode), quint32(time));
        }
        QTEST(fresh, "fresh");

        filter.press(46, 1000);
        filter.reset();
        QVERIFY(filter.press(46, 1001));
    }
};

QTEST_GUILESS_MAIN(TestXcbKeyGrabber)
#include "tst_xcbkeygrabber.moc"
