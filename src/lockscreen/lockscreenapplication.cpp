#include "lockscreen/lockscreenapplication.h"

#include "lockscreen/lockscreenlog.h"
#include "lockscreen/sessionlockscreen.h"
#include "overlay/lockchannel.h"
#include "overlay/lockmessage.h"
#include "overlay/remotepinauthority.h"
#include "platform/applicationcommand.h"
#include "platform/linux/procfsprocesslister.h"
#include "platform/linux/systemdesktopanimations.h"
#include "platform/linux/x11screencapture.h"
#include "platform/linux/xcbapplicationwindows.h"
#include "platform/wayland/sessionlockclient.h"
#include "tasks/processmonitor.h"
#include "themes/desktopcapture.h"
#include "themes/thememanager.h"
#include "themes/themesmodule.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>

namespace {
// Long enough that an application dying at every start does not spin.
constexpr auto relaunchDelay = std::chrono::seconds(1);

// The launcher that started the application where there was one (it hands
// over with its path in the environment), else the application beside us.
QString applicationProgram()
{
    const QString launcher = ApplicationCommand::path();
    if (QFileInfo(launcher).fileName() !=
        QFileInfo(QCoreApplication::applicationFilePath()).fileName())
        return launcher;
    return QCoreApplication::applicationDirPath() + QStringLiteral("/vostrel-app");
}
} // namespace

LockScreenApplication::LockScreenApplication(const Options &options, QObject *parent)
    : QObject(parent)
    , m_preferences(Preferences::standardFilePath())
    , m_channel(std::make_unique<LockChannel>(options.channelDescriptor))
    , m_pins(std::make_unique<RemotePinAuthority>(*m_channel))
    , m_processes(std::make_unique<ProcFsProcessLister>())
    , m_windows(std::make_unique<XcbApplicationWindows>())
    , m_animations(std::make_unique<SystemDesktopAnimations>())
    // Nothing is captured here: a compositor lets no client read the screen
    // back, and the live blur shows its gradient.
    , m_screenCapture(std::make_unique<X11ScreenCapture>())
    , m_themes(std::make_unique<ThemeManager>(m_preferences))
    , m_capture(std::make_unique<DesktopCapture>(*m_screenCapture))
    , m_tasks(std::make_unique<ProcessMonitor>(*m_processes, *m_windows))
    , m_webPagesAllowed(options.webPagesAllowed)
    , m_sessionEnvironment(options.sessionEnvironment)
{
    m_qml.add(m_preferences);
    m_qml.add(*m_themes);
    m_qml.add(*m_capture);
    m_qml.add(*m_tasks);
    prepareSymbolIcons();
    m_engine.addImportPath(QStringLiteral("qrc:/"));
    m_qml.provideTo(m_engine);

    connect(m_channel.get(), &LockChannel::messageReceived, this, &LockScreenApplication::handle);
    connect(m_channel.get(), &LockChannel::closed, this, [this] {
        // The application is gone and no PIN can be judged here. The
        // compositor keeps the screens locked; a new application takes the
        // lock over, as it does from the crash guard on X11.
        if (m_lockScreen && m_lockScreen->isLocked()) {
            qCWarning(lcLockScreen, "the application is gone while locked; starting it again");
            QTimer::singleShot(relaunchDelay, qApp, [this] {
                QProcess relaunch;
                relaunch.setProgram(applicationProgram());
                relaunch.setArguments({QStringLiteral("--relock")});
                relaunch.setProcessEnvironment(m_sessionEnvironment);
                if (!relaunch.startDetached())
                    qCCritical(lcLockScreen, "could not start the application again");
                QCoreApplication::exit(2);
            });
            return;
        }
        qCWarning(lcLockScreen, "the application is gone; leaving");
        QCoreApplication::exit(2);
    });
    if (!m_channel->isOpen()) {
        qCCritical(lcLockScreen, "no channel to the application");
        QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(2); });
    }
}

LockScreenApplication::~LockScreenApplication() = default;

void LockScreenApplication::handle(const QJsonObject &message)
{
    const QString type = LockMessage::typeOf(message);
    if (type == LockMessage::lock) {
        lock();
    } else if (type == LockMessage::unlock) {
        // Asked before the compositor confirmed the lock: leaving now would
        // leave the session locked with nobody to lift it, so the lock is
        // lifted the moment it is confirmed (or ends by itself).
        if (m_lockScreen && !m_lockScreen->isLocked()) {
            m_unlockWhenLocked = true;
            return;
        }
        unlock();
    }
}

void LockScreenApplication::unlock()
{
    if (m_lockScreen)
        m_lockScreen->unlock();
    m_channel->send(LockMessage::make(LockMessage::unlocked));
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
}

void LockScreenApplication::lock()
{
    if (std::exchange(m_lockAsked, true))
        return;
    m_client = std::make_unique<SessionLockClient>();
    const auto finish = [this](const QString &reason) {
        qCWarning(lcLockScreen).noquote() << "no lock:" << reason;
        m_channel->send(
            LockMessage::make(LockMessage::finished, {{QLatin1String("reason"), reason}}));
        QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(1); });
    };
    QString error;
    if (!m_client->connectToCompositor(&error)) {
        finish(error);
        return;
    }
    m_lockScreen = std::make_unique<SessionLockScreen>(SessionLockScreen::Services{
        *m_client, *m_pins, m_preferences, *m_themes, *m_tasks, *m_animations, m_engine});
    m_lockScreen->setWebPagesAllowed(m_webPagesAllowed);
    connect(m_lockScreen.get(), &SessionLockScreen::locked, this, [this] {
        if (m_unlockWhenLocked)
            unlock();
        else
            m_channel->send(LockMessage::make(LockMessage::locked));
    });
    connect(m_lockScreen.get(), &SessionLockScreen::finished, this,
            [finish] { finish(QStringLiteral("the compositor refused or ended the lock")); });
    m_lockScreen->lock();
}
