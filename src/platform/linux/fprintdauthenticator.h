#pragma once

#include "platform/biometricauthenticator.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <chrono>

class QDBusPendingCall;
class QDBusServiceWatcher;

// Fingerprint checks through fprintd (net.reactivated.Fprint) on the system bus.
//
// An attempt asks for the default reader and the user's enrolled fingers; with
// either missing it fails without touching the reader. Otherwise it claims the
// reader, starts a verification with any finger and waits for a match.
// fprintd ends a verification at a finger it does not recognise, so the
// attempt stops that verification and starts the next one, keeping the claim;
// a bad read (too short, off centre) leaves the verification running. Either
// counts as a finger at the reader, so the wait for one starts over. Whatever
// ends the attempt (a match, no finger in time, a failed reader, cancel,
// fprintd leaving the bus), the verification is stopped and the reader
// released before the completion runs, so the next attempt finds it free.
// Every call is asynchronous and has a timeout, so a hung daemon delays an
// answer but never withholds it.
//
// All calls after the first go to the unique bus name that answered it, and
// only that sender's verdicts count: another client cannot unlock by emitting
// a VerifyStatus signal on the device's path.
class FprintdAuthenticator : public QObject, public BiometricAuthenticator
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FprintdAuthenticator)

public:
    static constexpr std::chrono::milliseconds defaultVerifyTimeout{60000};
    static constexpr std::chrono::milliseconds defaultCallTimeout{10000};

    explicit FprintdAuthenticator(QObject *parent = nullptr);
    // Releases a reader still claimed; the pending completion is dropped.
    ~FprintdAuthenticator() override;

    void authenticate(const QObject *context, std::function<void(bool)> completion,
                      std::function<void()> notRecognised) override;
    void cancel() override;

    // How long the reader waits for a finger, counted afresh after each one.
    void setVerifyTimeout(std::chrono::milliseconds timeout) { m_verifyTimeout = timeout; }
    // How long one call may go unanswered before the daemon counts as hung.
    void setCallTimeout(std::chrono::milliseconds timeout) { m_callTimeout = timeout; }

    [[nodiscard]] bool isBusy() const { return m_stage != Stage::Idle; }

    // The account whose fingers are checked: the user running the process.
    [[nodiscard]] static QString userName();

private Q_SLOTS:
    void onVerifyStatus(const QString &result, bool done);

private:
    enum class Stage {
        Idle,
        FindingDevice,
        ListingFingers,
        Claiming,
        StartingVerify,
        Verifying,
        RestartingVerify,
        StoppingVerify,
        Releasing,
    };

    using ReplyHandler = void (FprintdAuthenticator::*)(const QDBusPendingCall &);
    void callDevice(const QString &method, const QVariantList &arguments, ReplyHandler handler);
    void onDefaultDevice(const QDBusPendingCall &reply);
    void onEnrolledFingers(const QDBusPendingCall &reply);
    void onClaimed(const QDBusPendingCall &reply);
    void onVerifyStarted(const QDBusPendingCall &reply);
    void restartVerify();
    void onRestartStopped(const QDBusPendingCall &reply);
    void onVerifyStopped(const QDBusPendingCall &reply);
    void onReleased(const QDBusPendingCall &reply);
    // Ends the attempt with the outcome decided so far (false unless matched).
    void stop();
    void cleanUp();
    void release();
    void finish();
    void watchVerdicts(bool watch);

    QDBusServiceWatcher *m_serviceWatcher = nullptr;
    QTimer m_verifyTimer;
    std::chrono::milliseconds m_verifyTimeout = defaultVerifyTimeout;
    std::chrono::milliseconds m_callTimeout = defaultCallTimeout;

    Stage m_stage = Stage::Idle;
    QPointer<const QObject> m_context;
    std::function<void(bool)> m_completion;
    std::function<void()> m_notRecognised;
    QString m_daemon;
    QString m_devicePath;
    bool m_isStopping = false;
    bool m_isMatched = false;
    bool m_isClaimSent = false;
    bool m_isVerifyStartSent = false;
    // A verdict ended the verification before VerifyStart was answered.
    bool m_isRestartWanted = false;
    bool m_isWatchingVerdicts = false;
};
