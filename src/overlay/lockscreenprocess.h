#pragma once

#include <QObject>
#include <QPointer>
#include <QProcess>
#include <QString>
#include <QTimer>

#include <chrono>
#include <memory>

class LockChannel;
class PINManager;

// The application's side of a lock held by a lock-screen process of its own
// (vostrel-lockscreen), which draws the lock screen and takes the keys. This
// side keeps the one PIN manager: the lock screen sends what was typed and is
// told whether it unlocks, and only an "unlock" from here lowers the lock.
// Should the lock-screen process die while the lock is up, the compositor
// keeps the screens covered, and a new process is started to take the lock
// over.
class LockScreenProcess : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LockScreenProcess)

public:
    // How long after a lock-screen process died the next one starts; it
    // doubles for each that dies without having held the lock, up to
    // maxRestartDelay.
    static constexpr std::chrono::milliseconds firstRestartDelay{50};
    static constexpr std::chrono::milliseconds maxRestartDelay{5000};

    LockScreenProcess(PINManager &pins, QString program, QStringList arguments = {},
                      QObject *parent = nullptr);
    ~LockScreenProcess() override;

    // Starts a lock-screen process when none runs and asks it to lock.
    void lock();
    // Tells the lock screen to lower the lock; nothing is locked afterwards,
    // whatever the process does.
    void unlock();
    [[nodiscard]] bool isLockWanted() const { return m_wanted; }
    [[nodiscard]] bool isLocked() const { return m_locked; }

Q_SIGNALS:
    // The compositor confirmed the lock: every output is covered.
    void locked();
    // The lock never came up: the compositor refused it or no lock-screen
    // process could start.
    void refused(const QString &reason);
    // A PIN or a finger typed on the lock screen was accepted.
    void authenticated();

private:
    void startProcess();
    void handle(const QJsonObject &message);
    void processEnded();
    void sendPinState();

    PINManager &m_pins;
    QString m_program;
    QStringList m_arguments;
    std::unique_ptr<QProcess> m_process;
    std::unique_ptr<LockChannel> m_channel;
    QTimer m_restart;
    std::chrono::milliseconds m_restartDelay = firstRestartDelay;
    bool m_wanted = false;
    bool m_locked = false;
    // The lock screen said the compositor refused the lock it asked for.
    bool m_compositorRefused = false;
};
