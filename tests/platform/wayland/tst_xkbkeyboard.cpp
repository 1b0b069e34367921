#include "platform/wayland/xkbkeyboard.h"

#include <QTest>

#include <linux/input-event-codes.h>
#include <xkbcommon/xkbcommon.h>

// The keys a PIN is typed with, as a compositor with a US keymap sends them.
class TestXkbKeyboard : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        // The keymap text a compositor sends, made from the system's XKB data.
        xkb_context *context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
        const xkb_rule_names names = {"evdev", "pc105", "us", "", ""};
        xkb_keymap *keymap =
            xkb_keymap_new_from_names(context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS);
        QVERIFY2(keymap, "no XKB data (xkb-data) installed");
        m_numLock = 1u << xkb_keymap_mod_get_index(keymap, XKB_MOD_NAME_NUM);
        char *text = xkb_keymap_get_as_string(keymap, XKB_KEYMAP_FORMAT_TEXT_V1);
        m_keymap = QByteArray(text);
        free(text);
        xkb_keymap_unref(keymap);
        xkb_context_unref(context);
    }

    void translatesKeys_data()
    {
        QTest::addColumn<quint32>("code");
        QTest::addColumn<quint32>("modifiers"); // depressed XKB modifier mask
        QTest::addColumn<bool>("numLock");
        QTest::addColumn<int>("qtKey");
        QTest::addColumn<QString>("text");
        QTest::addColumn<Qt::KeyboardModifiers>("qtModifiers");
        const Qt::KeyboardModifiers none;
        QTest::addRow("1") << quint32(KEY_1) << 0u << false << int(Qt::Key_1) << "1" << none;
        QTest::addRow("0") << quint32(KEY_0) << 0u << false << int(Qt::Key_0) << "0" << none;
        QTest::addRow("keypad 7") << quint32(KEY_KP7) << 0u << true << int(Qt::Key_7) << "7"
                                  << Qt::KeyboardModifiers(Qt::KeypadModifier);
        QTest::addRow("Backspace")
            << quint32(KEY_BACKSPACE) << 0u << false << int(Qt::Key_Backspace) << "\b" << none;
        QTest::addRow("Escape") << quint32(KEY_ESC) << 0u << false << int(Qt::Key_Escape) << "\x1b"
                                << none;
        QTest::addRow("Return") << quint32(KEY_ENTER) << 0u << false << int(Qt::Key_Return) << "\r"
                                << none;
        QTest::addRow("keypad Enter") << quint32(KEY_KPENTER) << 0u << true << int(Qt::Key_Enter)
                                      << "\r" << Qt::KeyboardModifiers(Qt::KeypadModifier);
        QTest::addRow("a") << quint32(KEY_A) << 0u << false << int(Qt::Key_A) << "a" << none;
        QTest::addRow("Shift+a") << quint32(KEY_A) << 1u << false << int(Qt::Key_A) << "A"
                                 << Qt::KeyboardModifiers(Qt::ShiftModifier);
        QTest::addRow("Shift+1") << quint32(KEY_1) << 1u << false << int(Qt::Key_Exclam) << "!"
                                 << Qt::KeyboardModifiers(Qt::ShiftModifier);
        QTest::addRow("keypad 7, no Num Lock")
            << quint32(KEY_KP7) << 0u << false << int(Qt::Key_Home) << ""
            << Qt::KeyboardModifiers(Qt::KeypadModifier);
        QTest::addRow("Left") << quint32(KEY_LEFT) << 0u << false << int(Qt::Key_Left) << ""
                              << none;
    }

    void translatesKeys()
    {
        QFETCH(quint32, code);
        QFETCH(quint32, modifiers);
        QFETCH(bool, numLock);
        XkbKeyboard keyboard;
        QVERIFY(!keyboard.hasKeymap());
        QVERIFY(keyboard.setKeymap(m_keymap));
        keyboard.updateModifiers(modifiers, 0, numLock ? m_numLock : 0, 0);
        const XkbKeyboard::Key key = keyboard.key(code);
        QTEST(key.qtKey, "qtKey");
        QTEST(key.text, "text");
        QTEST(key.modifiers, "qtModifiers");
    }

    void refusesABrokenKeymap()
    {
        XkbKeyboard keyboard;
        QVERIFY(!keyboard.setKeymap("xkb_keymap { this is not one"));
        QVERIFY(!keyboard.hasKeymap());
        QCOMPARE(keyboard.key(KEY_1).qtKey, 0);
    }

private:
    QByteArray m_keymap;
    quint32 m_numLock = 0;
};

QTEST_GUILESS_MAIN(TestXkbKeyboard)
#include "tst_xkbkeyboard.moc"
