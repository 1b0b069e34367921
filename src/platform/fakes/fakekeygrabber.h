#pragma once

#include "platform/keygrabber.h"

#include <QList>

#include <optional>

// Grants or refuses grabs as the test says and presses the held combination
// on request.
class FakeKeyGrabber : public KeyGrabber
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FakeKeyGrabber)

public:
    struct Combination
    {
        quint16 keyCode = 0;
        quint64 modifierFlags = 0;
        bool operator==(const Combination &) const = default;
    };

    explicit FakeKeyGrabber(QObject *parent = nullptr);
    ~FakeKeyGrabber() override;

    [[nodiscard]] bool isGlobalGrabSupported() const override { return m_isSupported; }
    GrabResult grab(quint16 keyCode, quint64 modifierFlags) override;
    void ungrab() override;

    void setGlobalGrabSupported(bool supported) { m_isSupported = supported; }
    // What the following grabs answer while global grabs are supported.
    void setGrabResult(GrabResult result) { m_result = result; }

    [[nodiscard]] std::optional<Combination> heldCombination() const { return m_held; }
    // Every combination asked for, granted or not, oldest first.
    [[nodiscard]] QList<Combination> requests() const { return m_requests; }

    // Emits activated() when a combination is held, as a real press would;
    // returns whether it did.
    bool press();

private:
    bool m_isSupported = true;
    GrabResult m_result = GrabResult::Grabbed;
    std::optional<Combination> m_held;
    QList<Combination> m_requests;
};
