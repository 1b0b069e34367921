#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QStringList>

class FakeFprintdDevice;
class FakeFprintdManager;

// A stand-in fprintd: the net.reactivated.Fprint Manager and one Device on the
// system bus, on a connection of its own so that the client under test talks
// to it through the bus as it would to the real daemon. It records every call
// and keeps the claim state the way fprintd does, refusing calls out of order.
class FakeFprintd : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FakeFprintd)

public:
    enum class Behaviour {
        NoDevice,     // GetDefaultDevice fails with NoSuchDevice
        NoFingers,    // ListEnrolledFingers fails with NoEnrolledPrints
        Match,        // a verdict of verify-match follows VerifyStart
        NeverAnswers, // VerifyStart succeeds and no verdict ever comes
    };

    static const QString serviceName;
    static const QString managerPath;
    static const QString devicePath;

    explicit FakeFprintd(QObject *parent = nullptr);
    ~FakeFprintd() override;

    // Takes the service name; false (with a warning) when the bus refuses it.
    bool start();
    // Leaves the bus, as a crashing or restarted daemon would.
    void stop();

    void setBehaviour(Behaviour behaviour) { m_behaviour = behaviour; }
    [[nodiscard]] Behaviour behaviour() const { return m_behaviour; }
    // Older fprintd answers an empty list instead of an error.
    void setNoFingersAsEmptyList(bool emptyList) { m_isNoFingersEmptyList = emptyList; }
    [[nodiscard]] bool isNoFingersEmptyList() const { return m_isNoFingersEmptyList; }
    // A Claim that is never answered, as from a hung daemon.
    void setClaimAnswers(bool answers) { m_isClaimAnswered = answers; }
    [[nodiscard]] bool isClaimAnswered() const { return m_isClaimAnswered; }

    // Sends a verdict as the device, for clients waiting with NeverAnswers.
    void sendVerifyStatus(const QString &result, bool done);

    [[nodiscard]] QDBusConnection connection() const { return m_connection; }
    // Every call in order, as "Method" or "Method(argument)".
    [[nodiscard]] QStringList calls() const { return m_calls; }
    [[nodiscard]] bool isClaimed() const { return m_isClaimed; }
    [[nodiscard]] bool isVerifying() const { return m_isVerifying; }

    // Bookkeeping for the two bus objects.
    void record(const QString &call);
    void setClaimed(bool claimed) { m_isClaimed = claimed; }
    void setVerifying(bool verifying) { m_isVerifying = verifying; }

Q_SIGNALS:
    void called(const QString &call);

private:
    QDBusConnection m_connection;
    FakeFprintdManager *m_manager = nullptr;
    FakeFprintdDevice *m_device = nullptr;
    Behaviour m_behaviour = Behaviour::Match;
    bool m_isNoFingersEmptyList = false;
    bool m_isClaimAnswered = true;
    bool m_isClaimed = false;
    bool m_isVerifying = false;
    QStringList m_calls;
};
