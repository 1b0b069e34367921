#pragma once

#include "platform/crashguard.h"

#include <QObject>
#include <QString>

class QProcess;

// Runs vostrel-guard, which watches this process and, should it die, covers
// the screen, grabs the input and starts the application again in relock mode.
class ProcessCrashGuard : public QObject, public CrashGuard
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ProcessCrashGuard)

public:
    explicit ProcessCrashGuard(QObject *parent = nullptr);
    ~ProcessCrashGuard() override;

    void start() override;
    void stop() override;
    [[nodiscard]] bool isRunning() const override;

    // Where vostrel-guard is: $VOSTREL_GUARD, beside the application, or in
    // the installed libexec folder. Empty when none is found.
    [[nodiscard]] static QString guardProgram();

    // Tells the guard of a previous instance, which started this one in relock
    // mode, that the lock is up again.
    static void relieveGuardThatStartedUs();

Q_SIGNALS:
    void runningChanged();
    // The guard's own black window, mapped low in the stack: kept right
    // under the lock's panels, it is what shows the moment they vanish.
    void coverWindowCreated(quint32 window);

private:
    void launch();
    void readGuardOutput();

    QProcess *m_process = nullptr;
    bool m_wanted = false;
};
