#include "platform/virtualkeys.h"

#include <QTest>

class TestVirtualKeys : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyKnownKeyRoundTrips()
    {
        for (int code = 0; code <= 0xffff; ++code) {
            const std::optional<Qt::Key> qtKey = VirtualKeys::qtKey(quint16(code));
            const std::optional<quint32> keysym = VirtualKeys::keysym(quint16(code));
            QCOMPARE(qtKey.has_value(), keysym.has_value());
            QCOMPARE(VirtualKeys::label(quint16(code)).isEmpty(), !qtKey.has_value());
            if (!qtKey)
                continue;
            const std::optional<quint16> expected(code);
            QVERIFY2(VirtualKeys::fromQtKey(*qtKey) == expected ||
                         VirtualKeys::fromQtKey(*qtKey, Qt::KeypadModifier) == expected,
                     qPrintable(QString::number(code)));
            QCOMPARE(VirtualKeys::fromKeysym(*keysym), expected);
        }
    }

    void qtKeysResolve_data()
    {
        QTest::addColumn<int>("qtKey");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("expected"); // -1: unknown
        QTest::addRow("shifted 1") << int(Qt::Key_Exclam) << int(Qt::ShiftModifier) << 18;
        QTest::addRow("keypad multiply") << int(Qt::Key_Asterisk) << int(Qt::KeypadModifier) << 67;
        QTest::addRow("shifted equal") << int(Qt::Key_Plus) << int(Qt::ShiftModifier) << 24;
        QTest::addRow("keypad Home, Num Lock off")
            << int(Qt::Key_Home) << int(Qt::KeypadModifier) << 115;
        QTest::addRow("Enter without keypad flag") << int(Qt::Key_Enter) << 0 << 76;
        QTest::addRow("shift tab") << int(Qt::Key_Backtab) << int(Qt::ShiftModifier) << 48;
        QTest::addRow("modifier key alone") << int(Qt::Key_Meta) << int(Qt::MetaModifier) << -1;
        QTest::addRow("unknown") << int(Qt::Key_VolumeUp) << 0 << -1;
    }

    void qtKeysResolve()
    {
        QFETCH(int, qtKey);
        QFETCH(int, modifiers);
        QFETCH(int, expected);
        const std::optional<quint16> code =
            VirtualKeys::fromQtKey(qtKey, Qt::KeyboardModifiers(modifiers));
        QCOMPARE(code, expected < 0 ? std::nullopt : std::optional<quint16>(expected));
    }

    void keysymsResolve()
    {
        QCOMPARE(VirtualKeys::fromKeysym(0x4c), std::optional<quint16>(37)); // XK_L
        QCOMPARE(VirtualKeys::fromKeysym(0xffe1), std::nullopt);             // XK_Shift_L
        QCOMPARE(VirtualKeys::keysym(10), std::nullopt);
        QCOMPARE(VirtualKeys::qtKey(0xffff), std::nullopt);
    }

    void modifiers_data()
    {
        QTest::addColumn<int>("qtModifiers");
        QTest::addColumn<quint64>("mask");
        QTest::addRow("none") << 0 << quint64(0);
        QTest::addRow("alt is option") << int(Qt::AltModifier) << quint64(0x80000);
        QTest::addRow("meta is command") << int(Qt::MetaModifier) << quint64(0x100000);
        QTest::addRow("all four") << int(Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier |
                                         Qt::MetaModifier)
                                  << quint64(0x1E0000);
    }

    void modifiers()
    {
        QFETCH(int, qtModifiers);
        QFETCH(quint64, mask);
        QCOMPARE(VirtualKeys::modifierMask(Qt::KeyboardModifiers(qtModifiers)), mask);
        QCOMPARE(VirtualKeys::qtModifiers(mask), Qt::KeyboardModifiers(qtModifiers));
        // Keypad and group switches are not modifiers of a hotkey, nor are
        // lock or device bits of the mask.
        QCOMPARE(VirtualKeys::modifierMask(Qt::KeyboardModifiers(qtModifiers) | Qt::KeypadModifier |
                                           Qt::GroupSwitchModifier),
                 mask);
        QCOMPARE(VirtualKeys::qtModifiers(mask | 0x10000 | 0x800000),
                 Qt::KeyboardModifiers(qtModifiers));
    }
};

QTEST_GUILESS_MAIN(TestVirtualKeys)
#include "tst_virtualkeys.moc"
