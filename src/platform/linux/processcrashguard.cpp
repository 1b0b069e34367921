#include "platform/linux/processcrashguard.h"

#include "platform/applicationcommand.h"
#include "platform/linux/helperprogram.h"
#include "platform/platformlog.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <unistd.h>

namespace {
constexpr char guardName[] = "vostrel-guard";

std::atomic<bool> guardWanted{false};

void exitLeavingGuardInCharge()
{
    if (guardWanted)
        ::_exit(1);
}
} // namespace

ProcessCrashGuard::ProcessCrashGuard(QObject *parent)
    : QObject(parent)
{}

ProcessCrashGuard::~ProcessCrashGuard()
{
    // On an orderly exit the lock is already down; never leave a guard behind.
    stop();
}

QString ProcessCrashGuard::guardProgram()
{
    return findHelperProgram(QLatin1String(guardName), "VOSTREL_GUARD");
}

void ProcessCrashGuard::start()
{
    m_wanted = true;
    guardWanted = true;
    // Should this process exit while locked (Qt exits when its X connection
    // breaks, as after xkill), it ends at once instead of running the
    // destructors that would stop the guard and take the panels down: the
    // guard sees the death and keeps the screens covered. Registered after
    // those long-lived objects were made, so it runs before their destructors.
    static const bool registered = std::atexit(&exitLeavingGuardInCharge) == 0;
    Q_UNUSED(registered)
    if (!isRunning())
        launch();
}

void ProcessCrashGuard::stop()
{
    m_wanted = false;
    guardWanted = false;
    if (!m_process)
        return;
    QProcess *process = m_process;
    m_process = nullptr;
    process->disconnect(this);
    // SIGTERM: a guard that is only watching stands down at once.
    process->terminate();
    if (!process->waitForFinished(1000))
        process->kill();
    process->deleteLater();
    Q_EMIT runningChanged();
}

bool ProcessCrashGuard::isRunning() const
{
    return m_process && m_process->state() != QProcess::NotRunning;
}

void ProcessCrashGuard::launch()
{
    const QString program = guardProgram();
    if (program.isEmpty()) {
        qCWarning(lcPlatform,
                  "vostrel-guard was not found: a crash while locked would uncover the screen.");
        return;
    }
    delete m_process;
    m_process = new QProcess(this);
    m_process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // A session of its own: the hang-up of the terminal we were started
    // from, or Ctrl+C in it, must not reach the guard with us.
    m_process->setChildProcessModifier([] { ::setsid(); });
    m_process->setProgram(program);
    m_process->setArguments({QStringLiteral("--app-pid"),
                             QString::number(QCoreApplication::applicationPid()),
                             QStringLiteral("--app-path"), ApplicationCommand::path()});
    auto *started = new QElapsedTimer;
    started->start();
    connect(m_process, &QProcess::finished, this, [this, started] {
        const bool quick = started->elapsed() < 1000;
        delete started;
        Q_EMIT runningChanged();
        // Killed while the lock is up: a new guard takes its place, after a
        // pause should it keep failing right away.
        if (m_wanted)
            QTimer::singleShot(quick ? 500 : 0, this, [this] {
                if (m_wanted && !isRunning())
                    launch();
            });
    });
    connect(m_process, &QProcess::readyReadStandardOutput, this,
            &ProcessCrashGuard::readGuardOutput);
    m_process->start();
    Q_EMIT runningChanged();
}

void ProcessCrashGuard::readGuardOutput()
{
    while (m_process && m_process->canReadLine()) {
        const QList<QByteArray> words = m_process->readLine().trimmed().split(' ');
        bool ok = false;
        const quint32 window = words.size() == 2 && words[0] == "cover" ? words[1].toUInt(&ok) : 0;
        if (ok && window != 0)
            Q_EMIT coverWindowCreated(window);
    }
}

void ProcessCrashGuard::relieveGuardThatStartedUs()
{
    bool ok = false;
    const qint64 pid = qEnvironmentVariable("VOSTREL_GUARD_PID").toLongLong(&ok);
    qunsetenv("VOSTREL_GUARD_PID");
    if (ok && pid > 1)
        ::kill(pid_t(pid), SIGUSR1);
}
