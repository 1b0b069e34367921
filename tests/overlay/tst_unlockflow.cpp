#include "core/preferencekeys.h"
#include "overlay/unlockflow.h"
#include "support/lockstack.h"

#include <QSignalSpy>
#include <QTest>

namespace {
struct Key
{
    QString text;
    int code = -1;
};
using Keys = QList<Key>;

Key digit(char c)
{
    return {QString(QLatin1Char(c)), -1};
}
Keys typed(const char *digits)
{
    Keys keys;
    for (const char *c = digits; *c; ++c)
        keys << digit(*c);
    return keys;
}
const Key backspace{QStringLiteral("\b"), UnlockFlow::backspaceKeyCode};
const Key escape{QStringLiteral("\x1b"), UnlockFlow::escapeKeyCode};
} // namespace

Q_DECLARE_METATYPE(Keys)

class TestUnlockFlow : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<LockStack> m_stack;
    std::unique_ptr<UnlockFlow> m_flow;
    Preferences *m_defaults = nullptr;
    PINManager *m_pins = nullptr;
    FakeBiometricAuthenticator *m_reader = nullptr;

    void press(const Keys &keys)
    {
        for (const Key &key : keys)
            m_flow->handleKeyPress(key.text, key.code);
    }

private Q_SLOTS:
    void init()
    {
        m_stack = std::make_unique<LockStack>();
        m_defaults = &m_stack->defaults;
        m_pins = &m_stack->pins;
        m_reader = &m_stack->reader;
        m_flow = std::make_unique<UnlockFlow>(*m_pins, *m_defaults);
    }

    void cleanup()
    {
        m_flow.reset();
        m_stack.reset();
    }

    void keySequences_data()
    {
        QTest::addColumn<Keys>("keys");
        QTest::addColumn<int>("entered");
        QTest::addColumn<bool>("fieldShown");
        QTest::addColumn<bool>("wrong");

        QTest::addRow("a key without characters is ignored")
            << Keys{{QString(), 56}} << 0 << false << false;
        QTest::addRow("any key shows the field")
            << Keys{{QStringLiteral("a"), 0}} << 0 << true << false;
        QTest::addRow("digits, a letter, a digit")
            << (typed("12") << Key{QStringLiteral("x"), 7} << digit('3')) << 3 << true << false;
        QTest::addRow("backspace removes one digit")
            << (typed("123") << backspace) << 2 << true << false;
        QTest::addRow("escape clears and hides") << (typed("12") << escape) << 0 << false << false;
        QTest::addRow("wrong PIN clears the entry") << typed("9999") << 0 << true << true;
        QTest::addRow("a fifth digit after a failure starts anew")
            << typed("99995") << 1 << true << true;
        QTest::addRow("digits of other scripts count")
            << Keys{{QStringLiteral("\u0661\u0662"), 19}} << 2 << true << false;
    }

    void keySequences()
    {
        QFETCH(Keys, keys);
        QFETCH(int, entered);
        QFETCH(bool, fieldShown);
        QFETCH(bool, wrong);

        QSignalSpy unlocked(m_flow.get(), &UnlockFlow::unlockRequested);
        press(keys);
        QCOMPARE(m_flow->enteredCount(), entered);
        QCOMPARE(m_flow->showPINField(), fieldShown);
        QCOMPARE(m_flow->isWrongPIN(), wrong);
        QCOMPARE(unlocked.count(), 0);
    }

    void theRightPINUnlocks()
    {
        QSignalSpy unlocked(m_flow.get(), &UnlockFlow::unlockRequested);
        press(typed("99"));
        press(Keys{backspace, backspace});
        press(typed("1234"));
        QCOMPARE(unlocked.count(), 1);
        QCOMPARE(m_pins->failedAttempts(), 0);
    }

    void severalCharactersInOneEventCheckOnce()
    {
        // An input method may commit a whole string at once: digits beyond
        // the PIN's length are dropped and the check runs a single time.
        QSignalSpy unlocked(m_flow.get(), &UnlockFlow::unlockRequested);
        press(Keys{{QStringLiteral("9a8765"), -1}});
        QCOMPARE(m_pins->failedAttempts(), 1);
        QCOMPARE(m_flow->enteredCount(), 0);

        press(Keys{{QStringLiteral("12345"), -1}});
        QCOMPARE(unlocked.count(), 1);
    }

    void lengthFollowsTheStoredPIN()
    {
        QSignalSpy lengthChanged(m_flow.get(), &UnlockFlow::expectedLengthChanged);
        m_defaults->setString(PreferenceKey::storedPIN,
                              PINManager::encodePIN(QStringLiteral("123456")));
        QCOMPARE(m_flow->expectedLength(), 6);
        QCOMPARE(lengthChanged.count(), 1);

        press(typed("12345"));
        QCOMPARE(m_pins->failedAttempts(), 0);
        QCOMPARE(m_flow->enteredCount(), 5);
        press(typed("7"));
        QCOMPARE(m_pins->failedAttempts(), 1);

        // Written by another process: seen at the next key press.
        Preferences(m_defaults->filePath())
            .setString(PreferenceKey::storedPIN, PINManager::encodePIN(QStringLiteral("12345")));
        press(typed("1"));
        QCOMPARE(m_flow->expectedLength(), 5);
        QCOMPARE(lengthChanged.count(), 2);

        m_defaults->setString(PreferenceKey::storedPIN, QStringLiteral("not base64!"));
        QCOMPARE(m_flow->expectedLength(), 4);
    }

    void digitsDuringALockoutShakeWithoutCounting()
    {
        m_defaults->setInteger(PreferenceKey::maxPINAttempts, 3);
        for (int i = 0; i < 3; ++i)
            press(typed("0000"));
        QVERIFY(m_flow->isLockedOut());
        QCOMPARE(m_flow->lockoutRemainingSeconds(), 30);

        QSignalSpy unlocked(m_flow.get(), &UnlockFlow::unlockRequested);
        QSignalSpy rejected(m_flow.get(), &UnlockFlow::pinRejected);
        press(typed("123"));
        QCOMPARE(rejected.count(), 0);
        press(typed("4"));
        QCOMPARE(unlocked.count(), 0);
        QCOMPARE(rejected.count(), 1);
        QCOMPARE(m_pins->failedAttempts(), 3);
        QCOMPARE(m_flow->enteredCount(), 0);
    }

    void fingerprintNeedsTheSwitchWritten()
    {
        // An unwritten switch reads as off on the lock screen.
        m_flow->attemptFingerprint();
        QVERIFY(!m_flow->isFingerprintAttempted());
        QCOMPARE(m_reader->requestCount(), 0);
    }

    void fingerprintUnlocksOrCanBeRetried()
    {
        m_defaults->setBool(PreferenceKey::fingerprintEnabled, true);
        QSignalSpy unlocked(m_flow.get(), &UnlockFlow::unlockRequested);

        m_flow->appeared();
        QTRY_VERIFY(m_reader->isWaiting());
        QVERIFY(m_flow->isFingerprintAttempted());
        m_flow->attemptFingerprint(); // one attempt at a time
        QVERIFY(m_reader->answer(false));
        QVERIFY(!m_flow->isFingerprintAttempted());
        QCOMPARE(unlocked.count(), 0);
        QCOMPARE(m_reader->requestCount(), 1);

        m_flow->retryFingerprint();
        QTRY_VERIFY(m_reader->isWaiting());
        QVERIFY(m_reader->answer(true));
        QCOMPARE(unlocked.count(), 1);
    }

    void noFingerprintAttemptDuringALockout()
    {
        m_defaults->setBool(PreferenceKey::fingerprintEnabled, true);
        m_defaults->setInteger(PreferenceKey::maxPINAttempts, 3);
        for (int i = 0; i < 3; ++i)
            press(typed("0000"));
        m_flow->retryFingerprint();
        QVERIFY(!m_flow->isFingerprintAttempted());
        QCOMPARE(m_reader->requestCount(), 0);
    }

    void aFingerNotRecognisedIsShownWhileTheReaderListens()
    {
        m_defaults->setBool(PreferenceKey::fingerprintEnabled, true);
        QSignalSpy unlocked(m_flow.get(), &UnlockFlow::unlockRequested);
        const QString invitation = m_flow->touchCaption();
        m_flow->retryFingerprint();
        QTRY_VERIFY(m_reader->isWaiting());
        QVERIFY(m_reader->reject());
        QVERIFY(m_flow->isFingerNotRecognised());
        QCOMPARE(m_flow->touchCaption(), QStringLiteral("Not recognised"));
        QVERIFY(m_reader->isWaiting());
        m_flow->notRecognisedExpired();
        QCOMPARE(m_flow->touchCaption(), invitation);

        // Neither a wrong finger nor a click while the reader listens counts
        // as a wrong PIN or ends the attempt.
        QVERIFY(m_reader->reject());
        m_flow->retryFingerprint();
        QVERIFY(!m_flow->isFingerNotRecognised());
        QVERIFY(m_flow->isFingerprintAttempted());
        QCOMPARE(m_pins->failedAttempts(), 0);
        QVERIFY(m_reader->answer(true));
        QCOMPARE(unlocked.count(), 1);
    }

    void aResetFlowForgetsTheLockThatEnded()
    {
        m_defaults->setBool(PreferenceKey::fingerprintEnabled, true);
        QSignalSpy unlocked(m_flow.get(), &UnlockFlow::unlockRequested);
        press(typed("12"));
        press(typed("9")); // not yet wrong: two of four digits plus one
        m_flow->retryFingerprint();
        QTRY_VERIFY(m_reader->isWaiting());

        m_flow->reset();
        QCOMPARE(m_flow->enteredCount(), 0);
        QVERIFY(!m_flow->showPINField());
        QVERIFY(!m_flow->isFingerprintAttempted());
        // The reader answering for the ended lock shows and unlocks nothing.
        QVERIFY(m_reader->reject());
        QVERIFY(!m_flow->isFingerNotRecognised());
        QVERIFY(m_reader->answer(true));
        QCOMPARE(unlocked.count(), 0);

        // Nor does the automatic attempt scheduled before it.
        m_flow->appeared();
        m_flow->reset();
        QTest::qWait(600); // past the automatic attempt
        QCOMPARE(m_reader->requestCount(), 1);

        // The next lock starts afresh.
        m_flow->appeared();
        QTRY_VERIFY(m_reader->isWaiting());
        QVERIFY(m_reader->answer(true));
        QCOMPARE(unlocked.count(), 1);
    }

    void aFlowGoneBeforeTheReaderAnswersIsNotCalled()
    {
        m_defaults->setBool(PreferenceKey::fingerprintEnabled, true);
        m_flow->retryFingerprint();
        QTRY_VERIFY(m_reader->isWaiting());
        m_flow.reset();
        m_reader->answer(true); // must not touch the destroyed flow
        QCOMPARE(m_pins->failedAttempts(), 0);
    }
};

QTEST_GUILESS_MAIN(TestUnlockFlow)
#include "tst_unlockflow.moc"
