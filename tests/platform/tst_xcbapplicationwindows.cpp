#include "platform/linux/xcbapplicationwindows.h"

#include <QGuiApplication>
#include <QTest>
#include <QWindow>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {
using Type = ApplicationWindows::Type;

// A client of the test's own that makes windows with exactly the properties
// a case needs, and publishes the client list as a window manager would.
class Client
{
public:
    Client()
        : m_connection(xcb_connect(nullptr, nullptr))
    {
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    }
    ~Client()
    {
        xcb_delete_property(m_connection, m_root, atom("_NET_CLIENT_LIST"));
        sync();
        xcb_disconnect(m_connection);
    }
    Client(const Client &) = delete;
    Client &operator=(const Client &) = delete;

    [[nodiscard]] bool isConnected() const { return !xcb_connection_has_error(m_connection); }

    xcb_atom_t atom(const char *name)
    {
        auto *reply = xcb_intern_atom_reply(
            m_connection, xcb_intern_atom(m_connection, 0, uint16_t(std::strlen(name)), name),
            nullptr);
        const xcb_atom_t result = reply ? reply->atom : XCB_NONE;
        std::free(reply);
        return result;
    }

    xcb_window_t createWindow()
    {
        const xcb_window_t window = xcb_generate_id(m_connection);
        xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, window, m_root, 0, 0, 10, 10, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
        return window;
    }

    void destroyWindow(xcb_window_t window) { xcb_destroy_window(m_connection, window); }

    void setClass(xcb_window_t window, const QByteArray &instanceAndClass)
    {
        xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_CLASS,
                            XCB_ATOM_STRING, 8, uint32_t(instanceAndClass.size()),
                            instanceAndClass.constData());
    }

    void setCardinal(xcb_window_t window, const char *property, uint32_t value)
    {
        xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, window, atom(property),
                            XCB_ATOM_CARDINAL, 32, 1, &value);
    }

    void setAtoms(xcb_window_t window, const char *property, const std::vector<const char *> &names)
    {
        std::vector<xcb_atom_t> atoms;
        for (const char *name : names)
            atoms.push_back(atom(name));
        xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, window, atom(property),
                            XCB_ATOM_ATOM, 32, uint32_t(atoms.size()), atoms.data());
    }

    void setTransientFor(xcb_window_t window, xcb_window_t parent)
    {
        xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_TRANSIENT_FOR,
                            XCB_ATOM_WINDOW, 32, 1, &parent);
    }

    void setClientList(const std::vector<xcb_window_t> &windows)
    {
        xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, m_root, atom("_NET_CLIENT_LIST"),
                            XCB_ATOM_WINDOW, 32, uint32_t(windows.size()), windows.data());
    }

    // Everything sent so far has been handled by the server.
    void sync()
    {
        std::free(
            xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
    }

private:
    xcb_connection_t *m_connection;
    xcb_window_t m_root = XCB_NONE;
};
} // namespace

class TestXcbApplicationWindows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (QGuiApplication::platformName() != u"xcb")
            QSKIP("needs an X display");
    }

    void readsTheClientList()
    {
        Client client;
        QVERIFY(client.isConnected());
        const xcb_window_t editor = client.createWindow();
        client.setClass(editor, QByteArray("code\0Code\0", 10));
        client.setCardinal(editor, "_NET_WM_PID", 4242);
        client.setAtoms(editor, "_NET_WM_WINDOW_TYPE",
                        {"_KDE_NET_WM_WINDOW_TYPE_OVERRIDE", "_NET_WM_WINDOW_TYPE_NORMAL"});

        const xcb_window_t dialog = client.createWindow();
        client.setClass(dialog, QByteArray("code\0Code", 9)); // no final NUL
        client.setAtoms(dialog, "_NET_WM_WINDOW_TYPE", {"_NET_WM_WINDOW_TYPE_DIALOG"});
        client.setTransientFor(dialog, editor);

        const xcb_window_t panel = client.createWindow();
        client.setClass(panel, QByteArray("xfce4-panel\0Xfce4-panel\0", 24));
        client.setAtoms(panel, "_NET_WM_WINDOW_TYPE", {"_NET_WM_WINDOW_TYPE_DOCK"});
        client.setAtoms(panel, "_NET_WM_STATE",
                        {"_NET_WM_STATE_STICKY", "_NET_WM_STATE_SKIP_TASKBAR"});

        const xcb_window_t bare = client.createWindow();
        client.setClass(bare, QByteArray("caf\xe9", 4)); // Latin-1, instance only

        const xcb_window_t gone = client.createWindow();
        client.setClientList({editor, dialog, gone, panel, bare});
        client.destroyWindow(gone);
        client.sync();

        XcbApplicationWindows windows;
        QVERIFY(windows.isConnected());
        const QList<ApplicationWindows::Id> ids = windows.clientList();
        QCOMPARE(ids, (QList<ApplicationWindows::Id>{editor, dialog, gone, panel, bare}));

        const auto first = windows.window(editor);
        QVERIFY(first);
        QCOMPARE(first->pid, std::optional<qint64>(4242));
        QCOMPARE(first->instanceName, QStringLiteral("code"));
        QCOMPARE(first->className, QStringLiteral("Code"));
        QCOMPARE(first->types, QList<Type>{Type::Normal}); // unknown types dropped
        QVERIFY(!first->isTransientFor);
        QVERIFY(!first->skipsTaskbar);

        const auto second = windows.window(dialog);
        QVERIFY(second);
        QCOMPARE(second->className, QStringLiteral("Code"));
        QCOMPARE(second->types, QList<Type>{Type::Dialog});
        QVERIFY(second->isTransientFor);
        QVERIFY(!second->pid);

        QVERIFY(!windows.window(gone));

        const auto third = windows.window(panel);
        QVERIFY(third);
        QCOMPARE(third->types, QList<Type>{Type::Dock});
        QVERIFY(third->skipsTaskbar);

        const auto fourth = windows.window(bare);
        QVERIFY(fourth);
        QCOMPARE(fourth->instanceName, QStringLiteral("café"));
        QVERIFY(fourth->className.isEmpty());
        QVERIFY(fourth->types.isEmpty());
    }

    void noClientList()
    {
        Client client;
        client.setClientList({});
        client.sync();
        XcbApplicationWindows windows;
        QVERIFY(windows.clientList().isEmpty());
        QVERIFY(!windows.window(0x1234567));
    }

    void noDisplay()
    {
        XcbApplicationWindows windows(":4711");
        QVERIFY(!windows.isConnected());
        QVERIFY(windows.clientList().isEmpty());
        QVERIFY(!windows.window(1));
    }
};

QTEST_MAIN(TestXcbApplicationWindows)
#include "tst_xcbapplicationwindows.moc"
