#pragma once

#include <QObject>

// A key combination held for this application while other applications have
// the keyboard focus. Combinations are given in the virtual key numbering and
// modifier mask of virtualkeys.h; at most one combination is held at a time.
class KeyGrabber : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(KeyGrabber)

public:
    enum class GrabResult {
        Grabbed,
        // Another client already holds the combination (or part of it).
        Refused,
        // The key has no place in the current keyboard map, or is unknown.
        UnsupportedKey,
        // Global grabs are not possible in this session (see isGlobalGrabSupported).
        Unavailable,
    };

    explicit KeyGrabber(QObject *parent = nullptr)
        : QObject(parent)
    {}
    ~KeyGrabber() override = default;

    // False where the display server lets no client see keys meant for
    // another one (Wayland); the combination can then only work locally.
    [[nodiscard]] virtual bool isGlobalGrabSupported() const = 0;

    // Releases whatever was held before. Only the four modifiers of
    // VirtualKeys::Modifier::matchMask count; other bits are ignored.
    virtual GrabResult grab(quint16 keyCode, quint64 modifierFlags) = 0;
    virtual void ungrab() = 0;

Q_SIGNALS:
    // Once per press of the held combination: neither its release nor the
    // keyboard's auto-repeat emits it again. Emitted on the grabber's thread.
    void activated();
};
