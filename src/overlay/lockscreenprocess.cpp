#include "overlay/lockscreenprocess.h"

#include "overlay/lockchannel.h"
#include "overlay/lockmessage.h"
#include "overlay/overlaylog.h"
#include "overlay/pinmanager.h"

#include <QJsonObject>

#include <fcntl.h>
#include <unistd.h>

namespace {
// Where the lock-screen process finds its end of the channel.
constexpr int channelDescriptor = 3;
} // namespace

LockScreenProcess::LockScreenProcess(PINManager &pins, QString program, QStringList arguments,
                                     QObject *parent)
    : QObject(parent)
    , m_pins(pins)
    , m_program(std::move(program))
    , m_arguments(std::move(arguments))
{
    m_restart.setSingleShot(true);
    connect(&m_restart, &QTimer::timeout, this, [this] {
        if (m_wanted)
            startProcess();
    });
    for (auto signal : {&PinAuthority::failedAttemptsChanged, &PinAuthority::isLockedOutChanged,
                        &PinAuthority::lockoutRemainingSecondsChanged,
                        &PinAuthority::maxPINAttemptsChanged, &PinAuthority::storedPINChanged})
        connect(&pins, signal, this, &LockScreenProcess::sendPinState);
    connect(&pins, &PinAuthority::biometricNotRecognised, this, [this] {
        if (m_channel)
            m_channel->send(LockMessage::make(LockMessage::fingerNotRecognised));
    });
}

LockScreenProcess::~LockScreenProcess()
{
    // One told to unlock (a quit while locked does so) gets the time to do
    // it: killed first, it would leave the screens locked with nobody there.
    const QList<QProcess *> leaving = findChildren<QProcess *>(Qt::FindDirectChildrenOnly);
    for (QProcess *process : leaving)
        process->waitForFinished(2000);
    if (m_process) {
        m_process->disconnect(this);
        // Locked or not, the lock screen goes with the application; while
        // locked the compositor keeps the screens covered without it.
        m_process->kill();
        m_process->waitForFinished(1000);
    }
}

void LockScreenProcess::lock()
{
    if (m_wanted)
        return;
    m_wanted = true;
    m_restartDelay = firstRestartDelay;
    if (m_process && m_channel && m_channel->isOpen()) {
        sendPinState();
        m_channel->send(LockMessage::make(LockMessage::lock));
    } else {
        startProcess();
    }
}

void LockScreenProcess::unlock()
{
    m_wanted = false;
    m_locked = false;
    m_restart.stop();
    m_pins.cancelBiometrics();
    if (!m_process)
        return;
    if (m_channel)
        m_channel->send(LockMessage::make(LockMessage::unlock));
    // It lowers the lock and leaves; the next lock starts a fresh process
    // rather than racing this one's exit. The channel stays open until then,
    // so the process never takes the unlock for the application's death.
    QProcess *leaving = m_process.release();
    leaving->disconnect(this);
    leaving->setParent(this);
    if (m_channel) {
        m_channel->disconnect(this);
        m_channel.release()->setParent(leaving);
    }
    connect(leaving, &QProcess::finished, leaving, &QObject::deleteLater);
    // Only to free a hung one: killing it lifts no lock.
    QTimer::singleShot(std::chrono::seconds(30), leaving, [leaving] { leaving->kill(); });
}

void LockScreenProcess::startProcess()
{
    const std::optional<std::pair<int, int>> pair = LockChannel::socketPair();
    if (!pair) {
        qCWarning(lcOverlay, "lock screen: no channel: %s", strerror(errno));
        m_wanted = false;
        Q_EMIT refused(tr("The lock screen could not be started."));
        return;
    }
    const auto [ours, theirs] = *pair;
    m_channel = std::make_unique<LockChannel>(ours);
    connect(m_channel.get(), &LockChannel::messageReceived, this, &LockScreenProcess::handle);

    m_process = std::make_unique<QProcess>();
    m_process->setProgram(m_program);
    QStringList arguments = m_arguments + QStringList{QStringLiteral("--channel-fd"),
                                                      QString::number(channelDescriptor)};
    // Taking over from one that died: whatever killed it (a web page, most
    // likely) must not kill this one too while the screens stay locked.
    if (m_locked)
        arguments << QStringLiteral("--without-web-pages");
    m_process->setArguments(arguments);
    m_process->setProcessChannelMode(QProcess::ForwardedChannels);
    m_process->setInputChannelMode(QProcess::ForwardedInputChannel);
    m_process->setChildProcessModifier([fd = theirs] {
        // The one descriptor the lock screen inherits from us.
        if (fd == channelDescriptor)
            ::fcntl(fd, F_SETFD, 0);
        else
            ::dup2(fd, channelDescriptor);
    });
    connect(m_process.get(), &QProcess::finished, this, &LockScreenProcess::processEnded);
    connect(m_process.get(), &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            processEnded();
    });
    sendPinState();
    m_channel->send(LockMessage::make(LockMessage::lock));
    m_process->start();
    ::close(theirs);
}

void LockScreenProcess::processEnded()
{
    if (!m_process)
        return;
    const QString error = m_process->errorString();
    const bool failedToStart = m_process->error() == QProcess::FailedToStart;
    m_process.release()->deleteLater();
    m_channel.reset();
    if (!m_wanted)
        return;
    if (!m_locked) {
        // Nothing was ever covered: there is nothing to take over.
        qCWarning(lcOverlay, "lock screen: ended before it locked: %s", qPrintable(error));
        m_wanted = false;
        QString reason = tr("The lock screen ended before it locked.");
        if (failedToStart)
            reason = tr("The lock screen could not be started.");
        else if (m_compositorRefused)
            reason = tr("The compositor refused the lock; another screen locker may hold it.");
        m_compositorRefused = false;
        Q_EMIT refused(reason);
        return;
    }
    // The compositor keeps the screens covered; a new process takes over.
    qCWarning(lcOverlay, "lock screen: died while locked; starting another in %lld ms",
              qlonglong(m_restartDelay.count()));
    m_restart.start(m_restartDelay);
    m_restartDelay = std::min(m_restartDelay * 2, maxRestartDelay);
}

void LockScreenProcess::sendPinState()
{
    if (m_channel)
        m_channel->send(LockMessage::make(LockMessage::pinState, LockMessage::pinStateOf(m_pins)));
}

void LockScreenProcess::handle(const QJsonObject &message)
{
    const QString type = LockMessage::typeOf(message);
    if (type == LockMessage::locked) {
        if (!m_wanted)
            return;
        m_restartDelay = firstRestartDelay;
        if (!std::exchange(m_locked, true))
            Q_EMIT locked();
    } else if (type == LockMessage::finished) {
        const QString reason = message.value(QLatin1String("reason")).toString();
        qCWarning(lcOverlay, "lock screen: the compositor ended the lock: %s", qPrintable(reason));
        m_compositorRefused = !m_locked;
        // The process leaves by itself; what follows is decided when it has.
    } else if (type == LockMessage::verify) {
        // Only a lock that is up takes PINs: a late one must not count.
        const bool accepted =
            m_wanted && m_pins.verifyPIN(message.value(QLatin1String("pin")).toString());
        QJsonObject answer = LockMessage::pinStateOf(m_pins);
        answer.insert(QLatin1String("accepted"), accepted);
        m_channel->send(LockMessage::make(LockMessage::verified, answer));
        if (accepted)
            Q_EMIT authenticated();
    } else if (type == LockMessage::fingerprint) {
        QPointer<LockScreenProcess> self(this);
        m_pins.authenticateWithBiometrics([self](bool success) {
            if (!self || !self->m_wanted)
                return;
            if (self->m_channel) {
                self->m_channel->send(LockMessage::make(LockMessage::fingerprintResult,
                                                        {{QLatin1String("success"), success}}));
            }
            if (success)
                Q_EMIT self->authenticated();
        });
    } else if (type == LockMessage::cancelFingerprint) {
        m_pins.cancelBiometrics();
    }
}
