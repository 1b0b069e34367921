#include "platform/fakes/fakebiometricauthenticator.h"

#include <QObject>

#include <utility>

void FakeBiometricAuthenticator::authenticate(const QObject *context,
                                              std::function<void(bool)> completion,
                                              std::function<void()> notRecognised)
{
    ++m_requestCount;
    if (!m_isAvailable || m_pending) {
        completion(false);
        return;
    }
    m_pending = Request{context, std::move(completion), std::move(notRecognised)};
}

void FakeBiometricAuthenticator::cancel()
{
    ++m_cancelCount;
    answer(false);
}

bool FakeBiometricAuthenticator::answer(bool success)
{
    if (!m_pending)
        return false;
    // The completion may start the next attempt, so the slot is freed first.
    Request request = *std::exchange(m_pending, std::nullopt);
    if (request.context)
        request.completion(success);
    return true;
}

bool FakeBiometricAuthenticator::reject()
{
    if (!m_pending)
        return false;
    // Copied: the handler may cancel the attempt and so free the slot.
    const Request request = *m_pending;
    if (request.context && request.notRecognised)
        request.notRecognised();
    return true;
}
