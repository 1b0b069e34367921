#pragma once

// A watcher outside the application that keeps the screens covered should
// the application die while locked. Started with every lock and stopped when
// the lock comes down; if the watcher itself dies while locked, it is
// started again.
class CrashGuard
{
public:
    virtual ~CrashGuard() = default;

    virtual void start() = 0;
    virtual void stop() = 0;
    [[nodiscard]] virtual bool isRunning() const = 0;
};
