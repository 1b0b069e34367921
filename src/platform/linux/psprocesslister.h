#pragma once

#include "platform/processlister.h"

#include <QString>

#include <chrono>

// Runs ps for every listing. Each call starts and waits for its own process,
// so the lister holds no state and any thread may call it.
class PsProcessLister : public ProcessLister
{
public:
    // A healthy ps finishes in a few tens of milliseconds; one stuck on a
    // process in uninterruptible sleep is killed after this long.
    static constexpr std::chrono::milliseconds defaultTimeout{2000};

    explicit PsProcessLister(QString program = QStringLiteral("/bin/ps"),
                             std::chrono::milliseconds timeout = defaultTimeout);

    [[nodiscard]] std::optional<QByteArray> commandNames() override;
    [[nodiscard]] std::optional<QByteArray>
    cpuUsage(const QList<QByteArray> &mentioning = {}) override;

private:
    [[nodiscard]] std::optional<QByteArray> run(const QStringList &arguments) const;

    QString m_program;
    std::chrono::milliseconds m_timeout;
};
