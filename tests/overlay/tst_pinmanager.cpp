#include "core/preferencekeys.h"
#include "core/preferences.h"
#include "overlay/pinmanager.h"
#include "platform/fakes/fakebiometricauthenticator.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>

#include <ctime>
#include <limits>
#include <memory>

class TestPINManager : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Preferences> m_defaults;
    std::unique_ptr<FakeBiometricAuthenticator> m_biometrics;
    std::unique_ptr<PINManager> m_manager;

    static QString correctPIN() { return QStringLiteral("2580"); }
    static QString wrongPIN() { return QStringLiteral("0000"); }

    void storePIN(const QString &pin)
    {
        QVERIFY(m_defaults->setString(PreferenceKey::storedPIN, PINManager::encodePIN(pin)));
    }

    // Lets the running lockout count down to its end, one tick at a time.
    // Returns the number of ticks it took.
    qint64 runOutLockout()
    {
        qint64 ticks = 0;
        while (m_manager->isLockedOut() && ticks <= 1'000'000) {
            m_manager->lockoutTick();
            ++ticks;
        }
        return ticks;
    }

    std::unique_ptr<PINManager> restarted()
    {
        m_manager.reset();
        return std::make_unique<PINManager>(*m_defaults, *m_biometrics);
    }

    void enterWrongPINs(int count)
    {
        for (int i = 0; i < count; ++i) {
            runOutLockout();
            QVERIFY(!m_manager->verifyPIN(wrongPIN()));
        }
    }

private Q_SLOTS:
    void init()
    {
        QVERIFY(m_dir.isValid());
        QFile::remove(m_dir.filePath(QStringLiteral("defaults.json")));
        QFile::remove(m_dir.filePath(QStringLiteral("lockout.json")));
        m_defaults = std::make_unique<Preferences>(m_dir.filePath(QStringLiteral("defaults.json")));
        m_biometrics = std::make_unique<FakeBiometricAuthenticator>();
        m_manager = std::make_unique<PINManager>(*m_defaults, *m_biometrics);
        storePIN(correctPIN());
    }

    void cleanup()
    {
        m_manager.reset();
        m_biometrics.reset();
        m_defaults.reset();
    }

    // --- Scrambling ---

    void encodingOfKnownPINs_data()
    {
        QTest::addColumn<QString>("pin");
        QTest::addColumn<QString>("stored");
        QTest::addRow("four digits") << QStringLiteral("1234") << QStringLiteral("Y1tFUQ==");
        // The eighth byte meets the salt's first byte again.
        QTest::addRow("longer than the salt")
            << QStringLiteral("12345678") << QStringLiteral("Y1tFUUd5T2o=");
        // Arabic-Indic digits are two UTF-8 bytes each.
        QTest::addRow("other script")
            << QString::fromUtf8("\u0661\u0662\u0663\u0664") << QStringLiteral("i8ivx6vsofY=");
    }

    void encodingOfKnownPINs()
    {
        QFETCH(QString, pin);
        QFETCH(QString, stored);
        QCOMPARE(PINManager::encodePIN(pin), stored);
        QCOMPARE(PINManager::decodePIN(stored), std::optional<QString>(pin));
    }

    void undecodableStoredValues_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addRow("not Base64") << QStringLiteral("not base64!");
        QTest::addRow("space inside") << QStringLiteral("Y1tF UQ==");
        QTest::addRow("no padding") << QStringLiteral("Y1tFUQ");
        QTest::addRow("non-Latin-1 character") << QString::fromUtf8("Y1tF\u20acQ==");
        // Scrambled 0xFF 0xFE "12": unscrambles to bytes that are not UTF-8.
        QTest::addRow("not UTF-8") << QStringLiteral("rZdHVw==");
        // An empty PIN would unlock on the first key press.
        QTest::addRow("empty") << QString();
    }

    void undecodableStoredValues()
    {
        QFETCH(QString, stored);
        QVERIFY(!PINManager::decodePIN(stored).has_value());

        QVERIFY(m_defaults->setString(PreferenceKey::storedPIN, stored));
        QVERIFY(!m_manager->hasPIN());
        QCOMPARE(m_manager->expectedPINLength(), 4);
        // No PIN: every check fails, and none is counted against the user.
        QVERIFY(!m_manager->verifyPIN(QStringLiteral("1234")));
        QVERIFY(!m_manager->verifyPIN(QString()));
        QCOMPARE(m_manager->failedAttempts(), 0);
        // Nothing to prove against, so no current PIN may be claimed; a new
        // one replaces the unreadable value, or nothing could ever lock.
        QVERIFY(!m_manager->changePIN(QStringLiteral("1234"), QStringLiteral("1234")));
        QCOMPARE(m_defaults->string(PreferenceKey::storedPIN), std::optional<QString>(stored));
        QVERIFY(m_manager->changePIN(QString(), QStringLiteral("2468")));
        QVERIFY(m_manager->verifyPIN(QStringLiteral("2468")));
    }

    void storedValueMustBeAString()
    {
        // A number written by hand is not a scrambled PIN, even if its digits are Base64.
        QVERIFY(m_defaults->setInteger(PreferenceKey::storedPIN, 12345678));
        QVERIFY(!m_manager->hasPIN());
        QVERIFY(m_defaults->remove(PreferenceKey::storedPIN));
        QVERIFY(!m_manager->hasPIN());
        QVERIFY(!m_manager->verifyPIN(correctPIN()));
        QCOMPARE(m_manager->failedAttempts(), 0);
    }

    // --- Checking and counting ---

    void correctPINClearsTheCount()
    {
        enterWrongPINs(3);
        QCOMPARE(m_manager->failedAttempts(), 3);
        QSignalSpy counted(m_manager.get(), &PINManager::failedAttemptsChanged);
        QVERIFY(m_manager->verifyPIN(correctPIN()));
        QCOMPARE(m_manager->failedAttempts(), 0);
        QCOMPARE(counted.count(), 1);
        // Same digits, other length: strings are compared, not numbers.
        QVERIFY(!m_manager->verifyPIN(QStringLiteral("02580")));
        QVERIFY(!m_manager->verifyPIN(QStringLiteral("258")));
        QCOMPARE(m_manager->failedAttempts(), 2);
    }

    void lockoutTable_data()
    {
        QTest::addColumn<qint64>("limit");
        QTest::addColumn<int>("wrongPINs");
        QTest::addColumn<bool>("lockedOut");
        QTest::addColumn<qint64>("seconds");
        QTest::addRow("5: four wrong") << qint64(5) << 4 << false << qint64(0);
        QTest::addRow("5: fifth") << qint64(5) << 5 << true << qint64(30);
        QTest::addRow("5: sixth") << qint64(5) << 6 << true << qint64(60);
        QTest::addRow("5: twelfth") << qint64(5) << 12 << true << qint64(3840);
        QTest::addRow("3: third") << qint64(3) << 3 << true << qint64(30);
        QTest::addRow("1: first") << qint64(1) << 1 << true << qint64(30);
    }

    void lockoutTable()
    {
        QFETCH(qint64, limit);
        QFETCH(int, wrongPINs);
        QFETCH(bool, lockedOut);
        QFETCH(qint64, seconds);
        QVERIFY(m_defaults->setInteger(PreferenceKey::maxPINAttempts, limit));

        enterWrongPINs(wrongPINs);
        QCOMPARE(m_manager->failedAttempts(), wrongPINs);
        QCOMPARE(m_manager->isLockedOut(), lockedOut);
        QCOMPARE(m_manager->lockoutRemainingSeconds(), seconds);
        QCOMPARE(m_manager->isLockoutTimerActive(), lockedOut);
        QCOMPARE(m_manager->lockoutDuration(wrongPINs), lockedOut ? seconds : 30);
    }

    void countdown()
    {
        enterWrongPINs(5);
        QSignalSpy remaining(m_manager.get(), &PINManager::lockoutRemainingSecondsChanged);
        QSignalSpy locked(m_manager.get(), &PINManager::isLockedOutChanged);

        for (int i = 0; i < 29; ++i)
            m_manager->lockoutTick();
        QCOMPARE(m_manager->lockoutRemainingSeconds(), 1);
        QVERIFY(m_manager->isLockedOut());
        QCOMPARE(remaining.count(), 29);
        QVERIFY(locked.isEmpty());

        m_manager->lockoutTick();
        QCOMPARE(m_manager->lockoutRemainingSeconds(), 0);
        QVERIFY(!m_manager->isLockedOut());
        QCOMPARE(locked.count(), 1);
        QVERIFY(!m_manager->isLockoutTimerActive());
        // The end of a lockout keeps the count: the next wrong PIN doubles at once.
        QCOMPARE(m_manager->failedAttempts(), 5);

        // A late tick must not run the countdown below zero.
        m_manager->lockoutTick();
        QCOMPARE(m_manager->lockoutRemainingSeconds(), 0);
        QVERIFY(!m_manager->isLockedOut());
    }

    void limitChangedMidCount()
    {
        enterWrongPINs(4);
        QVERIFY(m_defaults->setInteger(PreferenceKey::maxPINAttempts, 3));
        // Lowering the limit locks nothing by itself ...
        QVERIFY(!m_manager->isLockedOut());
        QCOMPARE(m_manager->maxPINAttempts(), 3);
        // ... the next wrong PIN is the fifth, two past the new limit.
        QVERIFY(!m_manager->verifyPIN(wrongPIN()));
        QVERIFY(m_manager->isLockedOut());
        QCOMPARE(m_manager->lockoutRemainingSeconds(), 120);
    }

    void maxPINAttemptsFallback_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<qint64>("limit");
        QTest::addRow("absent") << QVariant() << qint64(5);
        QTest::addRow("numeric string") << QVariant(QStringLiteral("3")) << qint64(5);
        QTest::addRow("bool") << QVariant(true) << qint64(5);
        QTest::addRow("negative") << QVariant(qint64(-4)) << qint64(5);
    }

    void maxPINAttemptsFallback()
    {
        QFETCH(QVariant, stored);
        QFETCH(qint64, limit);
        QSignalSpy changed(m_manager.get(), &PINManager::maxPINAttemptsChanged);
        if (stored.isValid())
            QVERIFY(m_defaults->setValue(PreferenceKey::maxPINAttempts, stored));
        QCOMPARE(changed.count(), stored.isValid() ? 1 : 0);
        QCOMPARE(m_manager->maxPINAttempts(), limit);
        enterWrongPINs(int(limit) - 1);
        QVERIFY(!m_manager->isLockedOut());
        enterWrongPINs(1);
        QVERIFY(m_manager->isLockedOut());
        QCOMPARE(m_manager->lockoutRemainingSeconds(), 30);
    }

    void lockoutDurationNeverOverflows_data()
    {
        constexpr qint64 largest = std::numeric_limits<qint64>::max();
        QTest::addColumn<qint64>("attempts");
        QTest::addColumn<qint64>("seconds");
        QTest::addRow("none") << qint64(0) << qint64(30);
        QTest::addRow("negative") << qint64(-7) << qint64(30);
        QTest::addRow("at the cap") << qint64(5 + 58) << (qint64(30) << 58);
        QTest::addRow("past the cap") << qint64(5 + 59) << (qint64(30) << 58);
        QTest::addRow("largest") << largest << (qint64(30) << 58);
    }

    void lockoutDurationNeverOverflows()
    {
        QFETCH(qint64, attempts);
        QFETCH(qint64, seconds);
        QCOMPARE(m_manager->lockoutDuration(attempts), seconds);
        QVERIFY(m_manager->lockoutDuration(attempts) > 0);
    }

    void correctPINRefusedDuringLockout()
    {
        enterWrongPINs(5);
        QSignalSpy counted(m_manager.get(), &PINManager::failedAttemptsChanged);
        QVERIFY(!m_manager->verifyPIN(correctPIN()));
        QVERIFY(!m_manager->verifyPIN(wrongPIN()));
        QCOMPARE(m_manager->failedAttempts(), 5);
        QVERIFY(counted.isEmpty());
        QVERIFY(m_manager->isLockedOut());
        QCOMPARE(m_manager->lockoutRemainingSeconds(), 30);

        QCOMPARE(runOutLockout(), 30);
        QVERIFY(m_manager->verifyPIN(correctPIN()));
        QCOMPARE(m_manager->failedAttempts(), 0);
    }

    // --- Surviving the process ---

    void countAndLockoutSurviveARestart()
    {
        enterWrongPINs(3);
        m_manager = restarted();
        QCOMPARE(m_manager->failedAttempts(), 3);
        QVERIFY(!m_manager->isLockedOut());
        enterWrongPINs(2);
        QCOMPARE(QFile::permissions(m_manager->stateFilePath()) & 0x0077,
                 QFileDevice::Permissions());

        m_manager = restarted();
        QVERIFY(m_manager->isLockedOut());
        QVERIFY(m_manager->isLockoutTimerActive());
        QCOMPARE(m_manager->lockoutRemainingSeconds(), 30);
        QCOMPARE(m_manager->failedAttempts(), 5);
        QVERIFY(!m_manager->verifyPIN(correctPIN()));
        QCOMPARE(runOutLockout(), 30);

        QVERIFY(m_manager->verifyPIN(correctPIN()));
        m_manager = restarted();
        QCOMPARE(m_manager->failedAttempts(), 0);
        QVERIFY(!m_manager->isLockedOut());
    }

    // The state as another process (or a damaged disk) left it.
    void savedLockoutIsNeverLengthened_data()
    {
        QFile bootIdFile(QStringLiteral("/proc/sys/kernel/random/boot_id"));
        QVERIFY(bootIdFile.open(QIODevice::ReadOnly));
        const QString thisBoot = QString::fromLatin1(bootIdFile.readAll()).trimmed();
        timespec boot{};
        clock_gettime(CLOCK_BOOTTIME, &boot);
        const qint64 sinceBoot = qint64(boot.tv_sec) * 1000 + boot.tv_nsec / 1'000'000;
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        const auto state = [](qint64 remaining, qint64 savedAt, const QString &bootId,
                              qint64 savedSinceBoot) {
            return QJsonDocument(QJsonObject{{QStringLiteral("failedAttempts"), 6},
                                             {QStringLiteral("lockoutRemainingSeconds"), remaining},
                                             {QStringLiteral("savedAt"), savedAt},
                                             {QStringLiteral("bootId"), bootId},
                                             {QStringLiteral("savedSinceBootMs"), savedSinceBoot}})
                .toJson();
        };
        constexpr qint64 day = 86'400'000;
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<qint64>("attempts");
        QTest::addColumn<qint64>("remaining");
        QTest::addRow("after a reboot, 20 s later")
            << state(60, now - 20'000, QStringLiteral("other"), 0) << qint64(6) << qint64(40);
        QTest::addRow("after a reboot, past its end")
            << state(60, now - 61'000, QStringLiteral("other"), 0) << qint64(6) << qint64(0);
        QTest::addRow("after a reboot, clock set back")
            << state(60, now + day, QStringLiteral("other"), 0) << qint64(6) << qint64(60);
        QTest::addRow("same boot, wall clock moved")
            << state(60, now - day, thisBoot, sinceBoot - 10'000) << qint64(6) << qint64(50);
        QTest::addRow("absurd numbers") << state(-5, -std::numeric_limits<qint64>::max(), thisBoot,
                                                 std::numeric_limits<qint64>::max())
                                        << qint64(6) << qint64(0);
        QTest::addRow("corrupt") << QByteArray("{\"failedAttempts\": 6, \"lock") << qint64(0)
                                 << qint64(0);
        QTest::addRow("not an object") << QByteArray("[6]") << qint64(0) << qint64(0);
        QTest::addRow("too long") << QByteArray(100'000, ' ') + state(60, now, thisBoot, sinceBoot)
                                  << qint64(0) << qint64(0);
    }

    void savedLockoutIsNeverLengthened()
    {
        QFETCH(QByteArray, contents);
        QFETCH(qint64, attempts);
        QFETCH(qint64, remaining);
        QFile file(m_manager->stateFilePath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(contents);
        file.close();
        if (attempts == 0)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("unreadable")));

        m_manager = restarted();
        QCOMPARE(m_manager->failedAttempts(), attempts);
        QCOMPARE(m_manager->lockoutRemainingSeconds(), remaining);
        QCOMPARE(m_manager->isLockedOut(), remaining > 0);
        QCOMPARE(m_manager->isLockoutTimerActive(), remaining > 0);
    }

    // --- Changing the PIN ---

    void changePIN()
    {
        enterWrongPINs(2);
        const std::optional<QString> before = m_defaults->string(PreferenceKey::storedPIN);

        QVERIFY(!m_manager->changePIN(QStringLiteral("1111"), QStringLiteral("9999")));
        QCOMPARE(m_defaults->string(PreferenceKey::storedPIN), before);
        QCOMPARE(m_manager->failedAttempts(), 2);

        QVERIFY(m_manager->changePIN(correctPIN(), QStringLiteral("135790")));
        QCOMPARE(m_defaults->string(PreferenceKey::storedPIN),
                 std::optional<QString>(PINManager::encodePIN(QStringLiteral("135790"))));
        QCOMPARE(m_manager->expectedPINLength(), 6);
        QCOMPARE(m_manager->failedAttempts(), 2);
        QVERIFY(!m_manager->verifyPIN(correctPIN()));
        QVERIFY(m_manager->verifyPIN(QStringLiteral("135790")));
    }

    void changePINDuringLockoutKeepsTheLockout()
    {
        enterWrongPINs(5);
        QVERIFY(m_manager->changePIN(correctPIN(), QStringLiteral("4321")));
        QVERIFY(m_manager->isLockedOut());
        QCOMPARE(m_manager->failedAttempts(), 5);
    }

    // --- Fingerprint ---

    void onlyABiometricSuccessEndsLockout()
    {
        enterWrongPINs(5);
        std::optional<bool> answer;
        m_manager->authenticateWithBiometrics([&](bool success) { answer = success; });
        QVERIFY(m_biometrics->answer(false));
        QCOMPARE(answer, std::optional<bool>(false));
        QVERIFY(m_manager->isLockedOut());
        QCOMPARE(m_manager->failedAttempts(), 5);

        answer.reset();
        bool wasLockedOutAtCompletion = true;
        m_manager->authenticateWithBiometrics([&](bool success) {
            answer = success;
            wasLockedOutAtCompletion = m_manager->isLockedOut();
        });
        QVERIFY(m_biometrics->isWaiting());
        QVERIFY(!answer);

        QVERIFY(m_biometrics->answer(true));
        QCOMPARE(answer, std::optional<bool>(true));
        // The attempts are cleared before the caller hears of the success.
        QVERIFY(!wasLockedOutAtCompletion);
        QCOMPARE(m_manager->failedAttempts(), 0);
        QCOMPARE(m_manager->lockoutRemainingSeconds(), 0);
        QVERIFY(!m_manager->isLockoutTimerActive());
    }

    void concurrentBiometricRequestsShareOneAttempt()
    {
        QList<bool> answers;
        m_manager->authenticateWithBiometrics([&](bool success) {
            answers.append(success);
            // Asking again from a completion starts a fresh attempt.
            m_manager->authenticateWithBiometrics([&](bool again) { answers.append(again); });
        });
        m_manager->authenticateWithBiometrics([&](bool success) { answers.append(success); });
        QCOMPARE(m_biometrics->requestCount(), 1);

        QVERIFY(m_biometrics->answer(false));
        QCOMPARE(answers, QList<bool>({false, false}));
        QCOMPARE(m_biometrics->requestCount(), 2);
        QVERIFY(m_manager->isBiometricCheckRunning());
        QVERIFY(m_biometrics->answer(true));
        QCOMPARE(answers, QList<bool>({false, false, true}));
    }

    void managerGoneBeforeTheFingerprintAnswer()
    {
        int answers = 0;
        m_manager->authenticateWithBiometrics([&](bool) { ++answers; });
        m_manager.reset();
        // The reader is handed back, and a late answer reaches nobody.
        QCOMPARE(m_biometrics->cancelCount(), 1);
        QVERIFY(!m_biometrics->answer(true));
        QCOMPARE(answers, 0);
    }
};

QTEST_GUILESS_MAIN(TestPINManager)
#include "tst_pinmanager.moc"
