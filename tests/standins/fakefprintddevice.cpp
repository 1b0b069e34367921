#include "standins/fakefprintddevice.h"

#include "standins/fakefprintd.h"

#include <QTimer>

namespace {
QString error(const char *name)
{
    return QStringLiteral("net.reactivated.Fprint.Error.") + QLatin1String(name);
}
} // namespace

FakeFprintdDevice::FakeFprintdDevice(FakeFprintd &daemon)
    : m_daemon(daemon)
{}

void FakeFprintdDevice::fail(const QString &name, const QString &text)
{
    sendErrorReply(name, text);
}

QStringList FakeFprintdDevice::ListEnrolledFingers(const QString &username)
{
    m_daemon.record(QStringLiteral("ListEnrolledFingers(%1)").arg(username));
    if (m_daemon.behaviour() != FakeFprintd::Behaviour::NoFingers)
        return {QStringLiteral("right-index-finger")};
    if (!m_daemon.isNoFingersEmptyList())
        fail(error("NoEnrolledPrints"), QStringLiteral("Failed to discover prints"));
    return {};
}

void FakeFprintdDevice::Claim(const QString &username)
{
    m_daemon.record(QStringLiteral("Claim(%1)").arg(username));
    if (!m_daemon.isClaimAnswered()) {
        setDelayedReply(true);
        return;
    }
    if (m_daemon.isClaimed()) {
        fail(error("AlreadyInUse"), QStringLiteral("Device was already claimed"));
        return;
    }
    m_daemon.setClaimed(true);
}

void FakeFprintdDevice::Release()
{
    m_daemon.record(QStringLiteral("Release"));
    if (!m_daemon.isClaimed()) {
        fail(error("ClaimDevice"), QStringLiteral("Device was not claimed before use"));
        return;
    }
    m_daemon.setVerifying(false);
    m_daemon.setClaimed(false);
}

void FakeFprintdDevice::VerifyStart(const QString &finger)
{
    m_daemon.record(QStringLiteral("VerifyStart(%1)").arg(finger));
    if (!m_daemon.isClaimed()) {
        fail(error("ClaimDevice"), QStringLiteral("Device was not claimed before use"));
        return;
    }
    if (m_daemon.isVerifying()) {
        fail(error("AlreadyInUse"), QStringLiteral("Verification already in progress"));
        return;
    }
    m_daemon.setVerifying(true);
    if (m_daemon.behaviour() == FakeFprintd::Behaviour::Match) {
        // After the reply, as the reader needs a moment to see the finger.
        QTimer::singleShot(0, this, [this] {
            if (m_daemon.isVerifying())
                Q_EMIT VerifyStatus(QStringLiteral("verify-match"), true);
        });
    }
}

void FakeFprintdDevice::VerifyStop()
{
    m_daemon.record(QStringLiteral("VerifyStop"));
    if (!m_daemon.isVerifying()) {
        fail(error("NoActionInProgress"), QStringLiteral("No verification in progress"));
        return;
    }
    m_daemon.setVerifying(false);
}
