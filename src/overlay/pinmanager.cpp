#include "pinmanager.h"

#include "biometricauthenticator.h"
#include "fprintdauthenticator.h"
#include "preferencekeys.h"
#include "userdefaults.h"

#include <QByteArray>
#include <QJSEngine>
#include <QStringDecoder>

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
} // namespace

PINManager::PINManager(UserDefaults &defaults, BiometricAuthenticator &biometrics, QObject *parent)
    : QObject(parent)
    , m_defaults(defaults)
    , m_biometrics(biometrics)
{
    m_lockoutTimer.setInterval(lockoutTickInterval);
    connect(&m_lockoutTimer, &QTimer::timeout, this, &PINManager::lockoutTick);
    connect(&m_defaults, &UserDefaults::valueChanged, this, [this](const QString &key) {
        if (key == PreferenceKey::storedPIN)
            Q_EMIT storedPINChanged();
        else if (key == PreferenceKey::maxPINAttempts)
            Q_EMIT maxPINAttemptsChanged();
    });
}

PINManager::~PINManager()
{
    // Nobody is left to hear the answer, but the reader must not stay claimed.
    if (m_isReaderBusy) {
        m_biometricWaiters.clear();
        m_biometrics.cancel();
    }
}

PINManager &PINManager::shared()
{
    static FprintdAuthenticator fingerprints;
    static PINManager manager(UserDefaults::standard(), fingerprints);
    return manager;
}

PINManager *PINManager::create(QQmlEngine *, QJSEngine *)
{
    PINManager *manager = &shared();
    QJSEngine::setObjectOwnership(manager, QJSEngine::CppOwnership);
    return manager;
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
    const std::optional<QString> pin = storedPIN();
    if (!pin)
        return defaultPINLength;
    return QStringView(*pin).toUcs4().size();
}

bool PINManager::verifyPIN(const QString &candidate)
{
    if (m_isLockedOut)
        return false;
    const std::optional<QString> pin = storedPIN();
    if (!pin)
        return false;
    if (candidate == *pin) {
        resetAttempts();
        return true;
    }
    setFailedAttempts(m_failedAttempts + 1);
    if (m_failedAttempts >= maxPINAttempts())
        startLockout();
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

void PINManager::resetAttempts()
{
    m_lockoutTimer.stop();
    setFailedAttempts(0);
    setLockedOut(false);
    setLockoutRemainingSeconds(0);
}

void PINManager::startLockout()
{
    // The count is set before the flag, so a view that reacts to the flag
    // never shows a countdown of 0.
    setLockoutRemainingSeconds(lockoutDuration(m_failedAttempts));
    setLockedOut(true);
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
