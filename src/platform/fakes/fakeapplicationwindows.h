#pragma once

#include "platform/applicationwindows.h"

#include <QMutex>

// A client list the test writes. A window listed without details stands for
// one that was closed between the list and the reading of its properties.
class FakeApplicationWindows : public ApplicationWindows
{
public:
    [[nodiscard]] QList<Id> clientList() override;
    [[nodiscard]] std::optional<Window> window(Id id) override;

    // The list in the given order, each window with its details.
    void setWindows(const QList<Window> &windows);
    // Listed, but gone by the time its details are asked for.
    void addVanishedWindow(Id id);

private:
    mutable QMutex m_mutex;
    QList<Id> m_list;
    QList<Window> m_windows;
};
