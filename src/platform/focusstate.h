#pragma once

#include <QObject>

// Whether the desktop's Do Not Disturb is on. `stateChanged` follows every
// change the desktop reports; a source that cannot tell answers false.
class FocusState : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FocusState)

public:
    using QObject::QObject;
    ~FocusState() override = default;

    [[nodiscard]] virtual bool isFocusActive() const = 0;

Q_SIGNALS:
    void stateChanged();
};
