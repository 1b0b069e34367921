#pragma once

#include "platform/biometricauthenticator.h"

#include <QPointer>

#include <optional>

// A fingerprint reader that the test operates: it decides whether a reader is
// there and answers a waiting attempt whenever it likes.
class FakeBiometricAuthenticator : public BiometricAuthenticator
{
public:
    FakeBiometricAuthenticator() = default;
    FakeBiometricAuthenticator(const FakeBiometricAuthenticator &) = delete;
    FakeBiometricAuthenticator &operator=(const FakeBiometricAuthenticator &) = delete;

    void authenticate(const QObject *context, std::function<void(bool)> completion,
                      std::function<void()> notRecognised) override;
    void cancel() override;

    // Without a reader every request is refused at once, as the real backend does.
    void setAvailable(bool available) { m_isAvailable = available; }
    [[nodiscard]] bool isAvailable() const { return m_isAvailable; }

    // Answers the waiting attempt; false when none was waiting.
    bool answer(bool success);
    // Reports a finger that did not match; the attempt keeps waiting. False
    // when none was waiting.
    bool reject();

    [[nodiscard]] bool isWaiting() const { return m_pending.has_value(); }
    [[nodiscard]] int requestCount() const { return m_requestCount; }
    [[nodiscard]] int cancelCount() const { return m_cancelCount; }

private:
    struct Request
    {
        QPointer<const QObject> context;
        std::function<void(bool)> completion;
        std::function<void()> notRecognised;
    };

    bool m_isAvailable = true;
    std::optional<Request> m_pending;
    int m_requestCount = 0;
    int m_cancelCount = 0;
};
