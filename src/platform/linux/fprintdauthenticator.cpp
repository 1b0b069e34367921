#include "platform/linux/fprintdauthenticator.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QLoggingCategory>
#include <QStringList>

#include <pwd.h>
#include <unistd.h>

#include <utility>

namespace {
Q_LOGGING_CATEGORY(lcFprintd, "vostrel.fprintd")

const QString service = QStringLiteral("net.reactivated.Fprint");
const QString managerPath = QStringLiteral("/net/reactivated/Fprint/Manager");
const QString managerInterface = QStringLiteral("net.reactivated.Fprint.Manager");
const QString deviceInterface = QStringLiteral("net.reactivated.Fprint.Device");
const QString verifyStatusSignal = QStringLiteral("VerifyStatus");
const QString verifyMatch = QStringLiteral("verify-match");
const QString verifyNoMatch = QStringLiteral("verify-no-match");

// The reader saw a finger but could not read it well enough to compare.
bool isRetry(const QString &result)
{
    static const QStringList retries{
        QStringLiteral("verify-retry-scan"), QStringLiteral("verify-swipe-too-short"),
        QStringLiteral("verify-finger-not-centered"), QStringLiteral("verify-remove-and-retry")};
    return retries.contains(result);
}

QDBusConnection bus()
{
    return QDBusConnection::systemBus();
}

int milliseconds(std::chrono::milliseconds duration)
{
    return int(std::min<qint64>(duration.count(), std::numeric_limits<int>::max()));
}
} // namespace

FprintdAuthenticator::FprintdAuthenticator(QObject *parent)
    : QObject(parent)
    , m_serviceWatcher(new QDBusServiceWatcher(service, bus(),
                                               QDBusServiceWatcher::WatchForUnregistration, this))
{
    m_verifyTimer.setSingleShot(true);
    connect(&m_verifyTimer, &QTimer::timeout, this, [this] {
        qCInfo(lcFprintd) << "no verdict in time; giving the reader back";
        stop();
    });
    // A restarted daemon has forgotten our claim and would never send the verdict.
    connect(m_serviceWatcher, &QDBusServiceWatcher::serviceUnregistered, this, [this] {
        if (isBusy())
            stop();
    });
}

FprintdAuthenticator::~FprintdAuthenticator()
{
    if (!isBusy() || m_daemon.isEmpty() || !QCoreApplication::instance())
        return;
    auto send = [this](const QString &method) {
        bus().send(QDBusMessage::createMethodCall(m_daemon, m_devicePath, deviceInterface, method));
    };
    if (m_isVerifyStartSent)
        send(QStringLiteral("VerifyStop"));
    if (m_isClaimSent)
        send(QStringLiteral("Release"));
}

QString FprintdAuthenticator::userName()
{
    if (const passwd *entry = getpwuid(geteuid()); entry && entry->pw_name)
        return QString::fromLocal8Bit(entry->pw_name);
    // fprintd reads an empty name as the caller's own account.
    return qEnvironmentVariable("USER");
}

void FprintdAuthenticator::authenticate(const QObject *context,
                                        std::function<void(bool)> completion,
                                        std::function<void()> notRecognised)
{
    if (isBusy()) {
        qCInfo(lcFprintd) << "refusing a second attempt while one is running";
        completion(false);
        return;
    }
    m_context = context;
    m_completion = std::move(completion);
    m_notRecognised = std::move(notRecognised);
    m_daemon.clear();
    m_devicePath.clear();
    m_isStopping = false;
    m_isMatched = false;
    m_isClaimSent = false;
    m_isVerifyStartSent = false;
    m_isRestartWanted = false;

    m_stage = Stage::FindingDevice;
    const QDBusMessage message = QDBusMessage::createMethodCall(
        service, managerPath, managerInterface, QStringLiteral("GetDefaultDevice"));
    auto *watcher =
        new QDBusPendingCallWatcher(bus().asyncCall(message, milliseconds(m_callTimeout)), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher *call) {
                call->deleteLater();
                onDefaultDevice(*call);
            });
}

void FprintdAuthenticator::cancel()
{
    if (isBusy())
        stop();
}

void FprintdAuthenticator::callDevice(const QString &method, const QVariantList &arguments,
                                      ReplyHandler handler)
{
    QDBusMessage message =
        QDBusMessage::createMethodCall(m_daemon, m_devicePath, deviceInterface, method);
    message.setArguments(arguments);
    auto *watcher =
        new QDBusPendingCallWatcher(bus().asyncCall(message, milliseconds(m_callTimeout)), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, handler](QDBusPendingCallWatcher *call) {
                call->deleteLater();
                (this->*handler)(*call);
            });
}

void FprintdAuthenticator::onDefaultDevice(const QDBusPendingCall &call)
{
    const QDBusPendingReply<QDBusObjectPath> reply = call;
    if (reply.isError() || m_isStopping) {
        if (reply.isError())
            qCInfo(lcFprintd) << "no fingerprint reader:" << reply.error().message();
        finish();
        return;
    }
    m_daemon = reply.reply().service();
    if (m_daemon.isEmpty())
        m_daemon = service;
    m_devicePath = reply.value().path();
    m_stage = Stage::ListingFingers;
    callDevice(QStringLiteral("ListEnrolledFingers"), {userName()},
               &FprintdAuthenticator::onEnrolledFingers);
}

void FprintdAuthenticator::onEnrolledFingers(const QDBusPendingCall &call)
{
    const QDBusPendingReply<QStringList> reply = call;
    if (reply.isError() || reply.value().isEmpty() || m_isStopping) {
        if (reply.isError())
            qCInfo(lcFprintd) << "no enrolled finger:" << reply.error().message();
        finish();
        return;
    }
    m_stage = Stage::Claiming;
    m_isClaimSent = true;
    callDevice(QStringLiteral("Claim"), {userName()}, &FprintdAuthenticator::onClaimed);
}

void FprintdAuthenticator::onClaimed(const QDBusPendingCall &call)
{
    const QDBusPendingReply<> reply = call;
    if (reply.isError() || m_isStopping) {
        if (reply.isError())
            qCInfo(lcFprintd) << "cannot claim the reader:" << reply.error().message();
        cleanUp();
        return;
    }
    // Listening before the start, since the verdict may follow the reply closely.
    watchVerdicts(true);
    m_stage = Stage::StartingVerify;
    m_isVerifyStartSent = true;
    callDevice(QStringLiteral("VerifyStart"), {QStringLiteral("any")},
               &FprintdAuthenticator::onVerifyStarted);
}

void FprintdAuthenticator::onVerifyStarted(const QDBusPendingCall &call)
{
    const QDBusPendingReply<> reply = call;
    if (reply.isError() || m_isStopping) {
        if (reply.isError())
            qCInfo(lcFprintd) << "cannot start verifying:" << reply.error().message();
        cleanUp();
        return;
    }
    if (std::exchange(m_isRestartWanted, false)) {
        restartVerify();
        return;
    }
    m_stage = Stage::Verifying;
    m_verifyTimer.start(m_verifyTimeout);
}

void FprintdAuthenticator::onVerifyStatus(const QString &result, bool done)
{
    if (m_isStopping || (m_stage != Stage::StartingVerify && m_stage != Stage::Verifying))
        return;
    if (result == verifyMatch) {
        m_isMatched = true;
        stop();
        return;
    }
    if (result != verifyNoMatch && !isRetry(result)) {
        // A verdict of another kind means the reader itself failed.
        if (done)
            stop();
        return;
    }
    if (done) {
        if (m_stage == Stage::Verifying)
            restartVerify();
        else
            m_isRestartWanted = true;
    } else if (m_stage == Stage::Verifying) {
        m_verifyTimer.start(m_verifyTimeout);
    }
    // Last, and on a copy: the caller may cancel the attempt from here.
    if (const auto notRecognised = m_notRecognised; m_context && notRecognised)
        notRecognised();
}

void FprintdAuthenticator::restartVerify()
{
    m_verifyTimer.stop();
    m_stage = Stage::RestartingVerify;
    callDevice(QStringLiteral("VerifyStop"), {}, &FprintdAuthenticator::onRestartStopped);
}

void FprintdAuthenticator::onRestartStopped(const QDBusPendingCall &call)
{
    if (call.isError() || m_isStopping) {
        if (call.isError())
            qCInfo(lcFprintd) << "cannot verify again:" << call.error().message();
        // The verification is over either way; only the claim is left to give back.
        m_isStopping = true;
        watchVerdicts(false);
        release();
        return;
    }
    m_stage = Stage::StartingVerify;
    callDevice(QStringLiteral("VerifyStart"), {QStringLiteral("any")},
               &FprintdAuthenticator::onVerifyStarted);
}

void FprintdAuthenticator::stop()
{
    if (m_isStopping)
        return;
    m_isStopping = true;
    // A call still on its way is left to finish; its handler sees m_isStopping.
    if (m_stage == Stage::Verifying)
        cleanUp();
}

void FprintdAuthenticator::cleanUp()
{
    m_isStopping = true;
    m_verifyTimer.stop();
    watchVerdicts(false);
    if (!m_isVerifyStartSent) {
        release();
        return;
    }
    m_stage = Stage::StoppingVerify;
    callDevice(QStringLiteral("VerifyStop"), {}, &FprintdAuthenticator::onVerifyStopped);
}

void FprintdAuthenticator::onVerifyStopped(const QDBusPendingCall &)
{
    release();
}

void FprintdAuthenticator::release()
{
    if (!m_isClaimSent) {
        finish();
        return;
    }
    // Also after a failed or unanswered Claim: the daemon may have claimed the
    // reader for us after all, and a Release of an unclaimed reader is harmless.
    m_stage = Stage::Releasing;
    callDevice(QStringLiteral("Release"), {}, &FprintdAuthenticator::onReleased);
}

void FprintdAuthenticator::onReleased(const QDBusPendingCall &call)
{
    if (call.isError())
        qCInfo(lcFprintd) << "releasing the reader failed:" << call.error().message();
    finish();
}

void FprintdAuthenticator::finish()
{
    const bool success = m_isMatched;
    const QPointer<const QObject> context = std::exchange(m_context, nullptr);
    const auto completion = std::exchange(m_completion, nullptr);
    m_notRecognised = nullptr;
    m_stage = Stage::Idle;
    m_isStopping = false;
    m_isMatched = false;
    m_isClaimSent = false;
    m_isVerifyStartSent = false;
    m_isRestartWanted = false;
    if (context && completion)
        completion(success);
}

void FprintdAuthenticator::watchVerdicts(bool watch)
{
    if (watch == m_isWatchingVerdicts)
        return;
    m_isWatchingVerdicts = watch;
    // The unique name keeps the match rule to the daemon we claimed from, and
    // spares Qt the blocking name lookup it makes for a well-known name.
    const char *slot = SLOT(onVerifyStatus(QString, bool));
    if (watch)
        bus().connect(m_daemon, m_devicePath, deviceInterface, verifyStatusSignal, this, slot);
    else
        bus().disconnect(m_daemon, m_devicePath, deviceInterface, verifyStatusSignal, this, slot);
}
