#pragma once

#include "platform/idletimesource.h"

#include <QObject>

#include <chrono>

// GNOME's idle monitor on the session bus (org.gnome.Mutter.IdleMonitor),
// the only idle time a Wayland session offers. Asked asynchronously, so a
// hung compositor never holds up the application.
class MutterIdleTimeSource : public QObject, public IdleTimeSource
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MutterIdleTimeSource)

public:
    // Longer than this and the answer is 0: the poll comes round again.
    static constexpr std::chrono::milliseconds replyTimeout{2000};

    explicit MutterIdleTimeSource(QObject *parent = nullptr);
    ~MutterIdleTimeSource() override;

    void queryIdleSeconds(Answer answer) override;
};
