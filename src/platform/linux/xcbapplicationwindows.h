#pragma once

#include "platform/applicationwindows.h"

#include <QByteArray>

#include <memory>

// The client list that EWMH window managers publish on the root window,
// read through a connection of its own so that Qt's connection is never
// used from the task monitor's thread.
class XcbApplicationWindows : public ApplicationWindows
{
public:
    // An empty displayName means $DISPLAY. Without an X server every list
    // is empty.
    explicit XcbApplicationWindows(const QByteArray &displayName = {});
    ~XcbApplicationWindows() override;

    [[nodiscard]] bool isConnected() const;
    [[nodiscard]] QList<Id> clientList() override;
    [[nodiscard]] std::optional<Window> window(Id id) override;

private:
    struct Private;
    std::unique_ptr<Private> m_d;
};
