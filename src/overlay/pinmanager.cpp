#include "overlay/pinmanager.h"

#include "core/preferencekeys.h"
#include "core/preferences.h"
#include "core/qmlinstances.h"
#include "overlay/overlaylog.h"
#include "platform/biometricauthenticator.h"

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJSEngine>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStringDecoder>

#include <algorithm>
#include <ctime>
#include <utility>

namespace {
// Changing it makes every stored PIN unreadable.
constexpr char salt[] = "RiverOx";
constexpr qsizetype saltLength = sizeof(salt) - 1;

QByteArray scrambled(QByteArray bytes)
{
    for (qsizetype i = 0; i < bytes.size(); ++i)
        bytes[i] = char(bytes[i] ^ salt[i % saltLength]);
    return bytes;
}

constexpr auto privateFile = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
// A few short fields; anything longer is not ours and is not read in full.
constexpr qint64 maxStateFileSize = 4096;
// Reaching a lockout this long takes millennia of waiting out the shorter ones;
// the cap keeps the millisecond arithmetic from overflowing.
constexpr qint64 longestStoredLockoutSeconds = qint64(1) << 40;

// Unlike the wall clock, nobody can set it, and it runs on through suspend; but
// it starts again at every boot, so it is used only with the same boot's id.
qint64 millisecondsSinceBoot()
{
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1'000'000;
}

// A time stamp read back, kept within what JSON holds exactly, so the
// differences taken from it cannot overflow.
qint64 storedMilliseconds(const QJsonObject &state, const QString &key)
{
    return std::clamp<qint64>(state.value(key).toInteger(), 0, qint64(1) << 53);
}

QString bootId()
{
    QFile file(QStringLiteral("/proc/sys/kernel/random/boot_id"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLatin1(file.read(64)).trimmed();
}
} // namespace

PINManager::PINManager(Preferences &defaults, BiometricAuthenticator &biometrics, QObject *parent)
    : PinAuthority(parent)
    , m_defaults(defaults)
    , m_biometrics(biometrics)
    , m_statePath(QFileInfo(defaults.filePath()).absolutePath() + QLatin1String("/lockout.json"))
{
    m_lockoutTimer.setInterval(lockoutTickInterval);
    connect(&m_lockoutTimer, &QTimer::timeout, this, &PINManager::lockoutTick);
    connect(&m_defaults, &Preferences::valueChanged, this, [this](const QString &key) {
        if (key == PreferenceKey::storedPIN)
            Q_EMIT storedPINChanged();
        else if (key == PreferenceKey::maxPINAttempts)
            Q_EMIT maxPINAttemptsChanged();
    });
    restoreState();
}

PINManager::~PINManager()
{
    // Nobody is left to hear the answer, but the reader must not stay claimed.
    if (m_isReaderBusy) {
        m_biometricWaiters.clear();
        m_biometrics.cancel();
    }
}

PINManager *PINManager::create(QQmlEngine *engine, QJSEngine *)
{
    return QmlInstances::singleton<PINManager>(engine);
}

qint64 PINManager::maxPINAttempts() const
{
    const QVariant stored = m_defaults.value(PreferenceKey::maxPINAttempts);
    if (stored.typeId() != QMetaType::LongLong || stored.toLongLong() < 1)
        return defaultMaxPINAttempts;
    return stored.toLongLong();
}

qint64 PINManager::expectedPINLength() const
{
    const std::optional<QString> pin = unlockingPIN();
    if (!pin)
        return defaultPINLength;
    return QStringView(*pin).toUcs4().size();
}

bool PINManager::verifyPIN(const QString &candidate)
{
    if (m_isLockedOut)
        return false;
    const std::optional<QString> pin = unlockingPIN();
    if (!pin)
        return false;
    if (candidate == *pin) {
        resetAttempts();
        return true;
    }
    setFailedAttempts(m_failedAttempts + 1);
    if (m_failedAttempts >= maxPINAttempts())
        startLockout();
    else
        saveState();
    return false;
}

bool PINManager::changePIN(const QString &current, const QString &newPIN)
{
    const std::optional<QString> pin = storedPIN();
    if (pin ? current != *pin : !current.isEmpty())
        return false;
    return m_defaults.setString(PreferenceKey::storedPIN, encodePIN(newPIN));
}

QString PINManager::encodePIN(const QString &pin)
{
    return QString::fromLatin1(scrambled(pin.toUtf8()).toBase64());
}

std::optional<QString> PINManager::decodePIN(const QString &stored)
{
    // Qt's strict mode still accepts a missing padding; the stored form always
    // has it. A character beyond Latin-1 would quietly become '?' in toLatin1().
    if (stored.size() % 4 != 0)
        return std::nullopt;
    for (const QChar c : stored) {
        if (c.unicode() > 0x7f)
            return std::nullopt;
    }
    const QByteArray::FromBase64Result decoded = QByteArray::fromBase64Encoding(
        stored.toLatin1(), QByteArray::Base64Encoding | QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        return std::nullopt;
    QStringDecoder toUtf16(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString pin = toUtf16(scrambled(*decoded));
    if (toUtf16.hasError() || pin.isEmpty())
        return std::nullopt;
    return pin;
}

std::optional<QString> PINManager::storedPIN() const
{
    // Only a string counts: a number written by hand is not a scrambled PIN.
    const QVariant stored = m_defaults.value(PreferenceKey::storedPIN);
    if (stored.typeId() != QMetaType::QString)
        return std::nullopt;
    return decodePIN(stored.toString());
}

std::optional<QString> PINManager::unlockingPIN() const
{
    return m_lockPIN ? m_lockPIN : storedPIN();
}

void PINManager::beginLock()
{
    m_lockPIN = storedPIN();
}

void PINManager::endLock()
{
    if (std::exchange(m_lockPIN, std::nullopt) != storedPIN())
        Q_EMIT storedPINChanged();
}

void PINManager::resetAttempts()
{
    m_lockoutTimer.stop();
    setFailedAttempts(0);
    setLockedOut(false);
    setLockoutRemainingSeconds(0);
    QFile::remove(m_statePath);
}

void PINManager::startLockout()
{
    // The count is set before the flag, so a view that reacts to the flag
    // never shows a countdown of 0.
    setLockoutRemainingSeconds(lockoutDuration(m_failedAttempts));
    setLockedOut(true);
    m_lockoutTimer.start();
    saveState();
}

void PINManager::saveState()
{
    // What is left and when that was, by both clocks: a later process takes
    // off the time that has passed since, but never adds any.
    const QJsonObject state{
        {QStringLiteral("failedAttempts"), m_failedAttempts},
        {QStringLiteral("lockoutRemainingSeconds"),
         m_isLockedOut ? std::min(m_lockoutRemainingSeconds, longestStoredLockoutSeconds) : 0},
        {QStringLiteral("savedAt"), QDateTime::currentMSecsSinceEpoch()},
        {QStringLiteral("bootId"), bootId()},
        {QStringLiteral("savedSinceBootMs"), millisecondsSinceBoot()},
    };
    QSaveFile file(m_statePath);
    if (!QDir().mkpath(QFileInfo(m_statePath).absolutePath()) || !file.open(QIODevice::WriteOnly) ||
        !file.setPermissions(privateFile) ||
        file.write(QJsonDocument(state).toJson(QJsonDocument::Compact)) < 0 || !file.commit()) {
        qCWarning(lcOverlay, "Could not save the PIN attempt count to %s: %s",
                  qPrintable(m_statePath), qPrintable(file.errorString()));
    }
}

void PINManager::restoreState()
{
    QFile file(m_statePath);
    if (!file.open(QIODevice::ReadOnly))
        return;
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(file.read(maxStateFileSize), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        qCWarning(lcOverlay, "PIN attempt count %s is unreadable; starting without one.",
                  qPrintable(m_statePath));
        return;
    }
    const QJsonObject state = document.object();
    m_failedAttempts =
        std::max<qint64>(state.value(QStringLiteral("failedAttempts")).toInteger(), 0);
    const qint64 savedMs =
        std::clamp<qint64>(state.value(QStringLiteral("lockoutRemainingSeconds")).toInteger(), 0,
                           longestStoredLockoutSeconds) *
        1000;
    // Within one boot the boot clock measures the time since the save, whatever
    // the wall clock was set to meanwhile; across a reboot only the wall clock
    // can, and a clock that went back counts as no time at all.
    const QString boot = bootId();
    const qint64 elapsedMs =
        !boot.isEmpty() && state.value(QStringLiteral("bootId")).toString() == boot
            ? millisecondsSinceBoot() -
                  storedMilliseconds(state, QStringLiteral("savedSinceBootMs"))
            : QDateTime::currentMSecsSinceEpoch() -
                  storedMilliseconds(state, QStringLiteral("savedAt"));
    const qint64 leftMs = savedMs - std::clamp<qint64>(elapsedMs, 0, savedMs);
    if (leftMs <= 0)
        return;
    m_lockoutRemainingSeconds = (leftMs + 999) / 1000;
    m_isLockedOut = true;
    m_lockoutTimer.start();
}

qint64 PINManager::lockoutDuration(qint64 attempts) const
{
    const qint64 limit = maxPINAttempts();
    // Compared before subtracting: attempts - limit could overflow.
    const qint64 exponent = attempts <= limit ? 0 : std::min(attempts - limit, maxLockoutExponent);
    return baseLockoutSeconds << exponent;
}

void PINManager::lockoutTick()
{
    // A tick that arrives after the lockout ended must not drive the count below 0.
    if (!m_isLockedOut) {
        m_lockoutTimer.stop();
        return;
    }
    setLockoutRemainingSeconds(m_lockoutRemainingSeconds - 1);
    if (m_lockoutRemainingSeconds < 1) {
        m_lockoutTimer.stop();
        setLockedOut(false);
    }
}

void PINManager::authenticateWithBiometrics(std::function<void(bool)> completion)
{
    m_biometricWaiters.push_back(std::move(completion));
    // A cancelled check still winding down holds the reader; this request
    // starts when it answers.
    if (m_biometricWaiters.size() > 1 || m_isReaderBusy)
        return;
    startBiometrics();
}

void PINManager::startBiometrics()
{
    m_isReaderBusy = true;
    const quint64 check = ++m_biometricCheck;
    m_biometrics.authenticate(
        this,
        [this, check](bool success) {
            m_isReaderBusy = false;
            if (check == m_biometricCheck)
                finishBiometrics(success);
            else if (!m_biometricWaiters.empty())
                startBiometrics();
        },
        [this, check] {
            if (check == m_biometricCheck)
                Q_EMIT biometricNotRecognised();
        });
}

void PINManager::cancelBiometrics()
{
    if (!m_isReaderBusy)
        return;
    // Taken first: the reader may answer the cancel before it returns, and
    // these waiters must not start another check then.
    const auto waiters = std::exchange(m_biometricWaiters, {});
    ++m_biometricCheck;
    m_biometrics.cancel();
    for (const auto &completion : waiters)
        completion(false);
}

void PINManager::finishBiometrics(bool success)
{
    // A completion may ask again at once; that must start a new attempt.
    const auto waiters = std::exchange(m_biometricWaiters, {});
    if (success)
        resetAttempts();
    for (const auto &completion : waiters)
        completion(success);
}

void PINManager::setFailedAttempts(qint64 value)
{
    if (m_failedAttempts == value)
        return;
    m_failedAttempts = value;
    Q_EMIT failedAttemptsChanged();
}

void PINManager::setLockedOut(bool value)
{
    if (m_isLockedOut == value)
        return;
    m_isLockedOut = value;
    Q_EMIT isLockedOutChanged();
}

void PINManager::setLockoutRemainingSeconds(qint64 value)
{
    if (m_lockoutRemainingSeconds == value)
        return;
    m_lockoutRemainingSeconds = value;
    Q_EMIT lockoutRemainingSecondsChanged();
}
