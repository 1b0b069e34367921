#pragma once

#include <functional>

class QObject;

// One fingerprint (or other owner) check at a time, answered asynchronously.
//
// An attempt goes on until a finger matches: a finger that is read and not
// recognised (or read badly) is reported through notRecognised, and the
// reader keeps listening. The completion is called at most once, on the
// thread the authenticator lives on (the main thread), with true only for a
// positive match. It is called with false when no reader or no enrolled
// finger exists, when another attempt is still running, when no finger comes
// in time, when the reader fails or the attempt is cancelled. The answer may
// come before authenticate() returns (nothing to ask for, or busy), so a
// caller must be ready for that.
//
// A completion is never called once its context object (which must not be
// null) or the authenticator itself is destroyed: either may go away while the
// device is still scanning, and the attempt is then torn down without a reply.
// The same holds for notRecognised, which is never called after the completion.
class BiometricAuthenticator
{
public:
    virtual ~BiometricAuthenticator() = default;

    virtual void authenticate(const QObject *context, std::function<void(bool)> completion,
                              std::function<void()> notRecognised) = 0;

    // Ends the running attempt, whose completion then receives false once the
    // device has been given back. Does nothing when no attempt is running.
    virtual void cancel() = 0;
};
