#include "overlay/unlockflow.h"

#include "core/preferencekeys.h"
#include "core/preferences.h"
#include "overlay/pinauthority.h"

#include <QKeyEvent>
#include <QPointer>
#include <QTimer>

#include <chrono>

using namespace std::chrono_literals;

namespace {
constexpr auto fingerprintDelay = 150ms;
constexpr auto automaticFingerprintDelay = 500ms;

int virtualKeyCode(const QKeyEvent &event)
{
    switch (event.key()) {
    case Qt::Key_Backspace:
        return UnlockFlow::backspaceKeyCode;
    case Qt::Key_Escape:
        return UnlockFlow::escapeKeyCode;
    default:
        return -1;
    }
}

QString keyCharacters(const QKeyEvent &event)
{
    if (!event.text().isEmpty())
        return event.text();
    // Some input paths deliver the editing keys without text.
    switch (event.key()) {
    case Qt::Key_Backspace:
        return QStringLiteral("\b");
    case Qt::Key_Escape:
        return QStringLiteral("\x1b");
    default:
        return {};
    }
}
int codePointCount(const QString &text)
{
    return int(text.toUcs4().size());
}
} // namespace

UnlockFlow::UnlockFlow(PinAuthority &pins, Preferences &defaults, QObject *parent)
    : QObject(parent)
    , m_pins(pins)
    , m_defaults(defaults)
    , m_lastExpectedLength(expectedLength())
{
    connect(&pins, &PinAuthority::isLockedOutChanged, this, &UnlockFlow::lockoutChanged);
    connect(&pins, &PinAuthority::lockoutRemainingSecondsChanged, this,
            &UnlockFlow::lockoutChanged);
    connect(&pins, &PinAuthority::failedAttemptsChanged, this, &UnlockFlow::failedAttemptsChanged);
    connect(&pins, &PinAuthority::maxPINAttemptsChanged, this, &UnlockFlow::failedAttemptsChanged);
    connect(&pins, &PinAuthority::storedPINChanged, this, &UnlockFlow::refreshExpectedLength);
    // The reader is shared by every screen, and so is what it read; a flow
    // that is not waiting for it (one of a lock that ended) shows nothing.
    connect(&pins, &PinAuthority::biometricNotRecognised, this, [this] {
        if (!m_fingerprintAttempted)
            return;
        setFingerNotRecognised(true);
        m_notRecognisedTimer.start();
    });
    m_notRecognisedTimer.setSingleShot(true);
    m_notRecognisedTimer.setInterval(notRecognisedDuration);
    connect(&m_notRecognisedTimer, &QTimer::timeout, this, &UnlockFlow::notRecognisedExpired);
    connect(&defaults, &Preferences::valueChanged, this, [this](const QString &key) {
        if (key == PreferenceKey::storedPIN)
            refreshExpectedLength();
        else if (key == PreferenceKey::fingerprintEnabled)
            Q_EMIT fingerprintEnabledChanged();
        else if (key == PreferenceKey::maxPINAttempts)
            Q_EMIT failedAttemptsChanged();
    });
}

UnlockFlow::~UnlockFlow() = default;

int UnlockFlow::enteredCount() const
{
    return codePointCount(m_pinEntry);
}

int UnlockFlow::expectedLength() const
{
    // Read at every use, so that a PIN changed elsewhere takes effect at once;
    // the PIN manager knows which PIN unlocks the lock that is up.
    return int(m_pins.expectedPINLength());
}

QObject *UnlockFlow::pinAuthority() const
{
    return &m_pins;
}

bool UnlockFlow::isFingerprintEnabled() const
{
    // Unlike the Security page, the lock screen treats an unwritten key as off.
    return m_defaults.boolValue(PreferenceKey::fingerprintEnabled);
}

QString UnlockFlow::touchCaption() const
{
    return m_fingerNotRecognised ? tr("Not recognised") : tr("Touch to unlock");
}

bool UnlockFlow::isLockedOut() const
{
    return m_pins.isLockedOut();
}

qint64 UnlockFlow::lockoutRemainingSeconds() const
{
    return m_pins.lockoutRemainingSeconds();
}

qint64 UnlockFlow::failedAttempts() const
{
    return m_pins.failedAttempts();
}

qint64 UnlockFlow::maxPINAttempts() const
{
    return m_pins.maxPINAttempts();
}

void UnlockFlow::handleKeyPress(const QString &characters, int keyCode)
{
    if (characters.isEmpty())
        return;
    refreshExpectedLength();
    setShowPINField(true);

    if (keyCode == backspaceKeyCode) {
        if (!m_pinEntry.isEmpty()) {
            QString entry = m_pinEntry;
            entry.chop(entry.size() >= 2 && entry.back().isLowSurrogate() ? 2 : 1);
            setPinEntry(entry);
        }
        return;
    }
    if (keyCode == escapeKeyCode) {
        setShowPINField(false);
        setPinEntry(QString());
        setWrongPIN(false);
        return;
    }

    const int length = expectedLength();
    QString entry = m_pinEntry;
    int count = codePointCount(entry);
    const QList<uint> codePoints = characters.toUcs4();
    for (const uint c : codePoints) {
        if (QChar::isNumber(c) && count < length) {
            const auto codePoint = char32_t(c);
            entry.append(QString::fromUcs4(&codePoint, 1));
            ++count;
        }
    }
    setPinEntry(entry);
    if (count == length)
        submitPIN();
}

void UnlockFlow::handleKeyEvent(const QKeyEvent &event)
{
    handleKeyPress(keyCharacters(event), virtualKeyCode(event));
}

void UnlockFlow::submitPIN()
{
    if (m_pins.verifyPIN(m_pinEntry)) {
        Q_EMIT unlockRequested();
        return;
    }
    setWrongPIN(true);
    setPinEntry(QString());
    Q_EMIT pinRejected();
}

void UnlockFlow::attemptFingerprint()
{
    if (m_fingerprintAttempted || !isFingerprintEnabled() || m_pins.isLockedOut())
        return;
    setFingerprintAttempted(true);
    // The panels stay where they are: a fingerprint reader needs no prompt
    // window above them.
    const quint64 session = m_session;
    QTimer::singleShot(fingerprintDelay, this, [this, session] {
        if (session != m_session)
            return;
        if (m_pins.isLockedOut()) {
            finishFingerprint(false);
            return;
        }
        QPointer<UnlockFlow> self(this);
        m_pins.authenticateWithBiometrics([self, session](bool success) {
            if (self && self->m_session == session)
                self->finishFingerprint(success);
        });
    });
}

void UnlockFlow::retryFingerprint()
{
    notRecognisedExpired();
    // A second request would only wait for the same reader.
    if (m_fingerprintAttempted)
        return;
    attemptFingerprint();
}

void UnlockFlow::notRecognisedExpired()
{
    m_notRecognisedTimer.stop();
    setFingerNotRecognised(false);
}

void UnlockFlow::appeared()
{
    const quint64 session = m_session;
    QTimer::singleShot(automaticFingerprintDelay, this, [this, session] {
        if (session == m_session)
            attemptFingerprint();
    });
}

void UnlockFlow::reset()
{
    ++m_session;
    setPinEntry(QString());
    setShowPINField(false);
    setWrongPIN(false);
    setFingerprintAttempted(false);
    notRecognisedExpired();
}

void UnlockFlow::finishFingerprint(bool success)
{
    if (success) {
        Q_EMIT unlockRequested();
        return;
    }
    setFingerprintAttempted(false);
    notRecognisedExpired();
}

void UnlockFlow::refreshExpectedLength()
{
    const int length = expectedLength();
    if (length == m_lastExpectedLength)
        return;
    m_lastExpectedLength = length;
    Q_EMIT expectedLengthChanged();
}

void UnlockFlow::setShowPINField(bool show)
{
    if (m_showPINField == show)
        return;
    m_showPINField = show;
    Q_EMIT showPINFieldChanged();
}

void UnlockFlow::setPinEntry(const QString &entry)
{
    if (m_pinEntry == entry)
        return;
    m_pinEntry = entry;
    Q_EMIT pinEntryChanged();
}

void UnlockFlow::setWrongPIN(bool wrong)
{
    if (m_wrongPIN == wrong)
        return;
    m_wrongPIN = wrong;
    Q_EMIT wrongPINChanged();
}

void UnlockFlow::setFingerprintAttempted(bool attempted)
{
    if (m_fingerprintAttempted == attempted)
        return;
    m_fingerprintAttempted = attempted;
    Q_EMIT fingerprintAttemptedChanged();
}

void UnlockFlow::setFingerNotRecognised(bool notRecognised)
{
    if (m_fingerNotRecognised == notRecognised)
        return;
    m_fingerNotRecognised = notRecognised;
    Q_EMIT fingerNotRecognisedChanged();
}

void UnlockFlow::setWaitingForInput(bool waiting)
{
    if (m_waitingForInput == waiting)
        return;
    m_waitingForInput = waiting;
    Q_EMIT waitingForInputChanged();
}
