#pragma once

#include <QObject>

// The desktop's own "enable animations" choice; off means the user asked for
// reduced motion, and nothing on the lock screen moves by itself.
class DesktopAnimations : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DesktopAnimations)

public:
    using QObject::QObject;
    ~DesktopAnimations() override = default;

    [[nodiscard]] virtual bool areEnabled() const = 0;

Q_SIGNALS:
    void changed();
};
