#include "processcrashguard.h"

#include "applicationcommand.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>

#include <csignal>
#include <cstdlib>
#include <unistd.h>

namespace {
constexpr char guardName[] = "vostrel-guard";
}

ProcessCrashGuard::ProcessCrashGuard(QObject *parent)
    : QObject(parent)
{}

ProcessCrashGuard::~ProcessCrashGuard()
{
    // On an orderly exit the lock is already down; never leave a guard behind.
    stop();
}

ProcessCrashGuard &ProcessCrashGuard::shared()
{
    static ProcessCrashGuard guard;
    return guard;
}

QString ProcessCrashGuard::guardProgram()
{
    const QString configured = qEnvironmentVariable("VOSTREL_GUARD");
    if (!configured.isEmpty())
        return QFileInfo(configured).isExecutable() ? configured : QString();
    const QString dir = QCoreApplication::applicationDirPath();
    const QStringList candidates{dir + QLatin1Char('/') + QLatin1String(guardName),
                                 dir + QLatin1String("/../libexec/vostrel/") +
                                     QLatin1String(guardName)};
    for (const QString &candidate : candidates) {
        if (QFileInfo(candidate).isExecutable())
            return QFileInfo(candidate).canonicalFilePath();
    }
    return {};
}

void ProcessCrashGuard::start()
{
    m_wanted = true;
    if (!isRunning())
        launch();
}

void ProcessCrashGuard::stop()
{
    m_wanted = false;
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
        qWarning("vostrel-guard was not found: a crash while locked would uncover the screen.");
        return;
    }
    delete m_process;
    m_process = new QProcess(this);
    m_process->setProcessChannelMode(QProcess::ForwardedChannels);
    m_process->setProgram(program);
    m_process->setArguments(
        {QStringLiteral("--app-pid"), QString::number(QCoreApplication::applicationPid()),
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
    m_process->start();
    Q_EMIT runningChanged();
}

void ProcessCrashGuard::relieveGuardThatStartedUs()
{
    bool ok = false;
    const qint64 pid = qEnvironmentVariable("VOSTREL_GUARD_PID").toLongLong(&ok);
    qunsetenv("VOSTREL_GUARD_PID");
    if (ok && pid > 1)
        ::kill(pid_t(pid), SIGUSR1);
}
