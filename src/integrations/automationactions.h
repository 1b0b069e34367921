#pragma once

#include "platform/automationhandler.h"

#include <QObject>
#include <QStringList>

#include <chrono>
#include <functional>

class KeepAwakeManager;
class OverlayManager;
class PINManager;
class ProcessMonitor;

// The five actions offered to scripts: lock, unlock with a PIN, keep awake,
// stop keeping awake, and a one-line status.
class AutomationActions : public QObject, public AutomationHandler
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AutomationActions)

public:
    // The running AI agents come from `tasks`, which makes the task monitor
    // the first time the status is asked for if the launch has not made it.
    AutomationActions(OverlayManager &overlay, PINManager &pins, KeepAwakeManager &keepAwake,
                      std::function<ProcessMonitor &()> tasks, QObject *parent = nullptr);
    AutomationActions(OverlayManager &overlay, PINManager &pins, KeepAwakeManager &keepAwake,
                      ProcessMonitor &tasks, QObject *parent = nullptr);
    ~AutomationActions() override;

    // How long a compositor may take to confirm a lock before the caller
    // hears it did not come up.
    static constexpr std::chrono::seconds lockConfirmationTimeout{10};

    void lockScreen(std::function<void(const QString &refusal)> answer) override;
    bool unlockScreen(const QString &pin) override;
    void keepAwake(int minutes, std::function<void(const QString &refusal)> answer) override;
    void stopKeepAwake() override;
    [[nodiscard]] QString status() const override;
    void reopen() override;

    // What the one-line status is made of.
    struct StatusFacts
    {
        bool locked = false;
        // False while a lock lacks the keyboard (another client holds it).
        bool inputHeld = true;
        bool keepingAwake = false;
        QStringList agentNames;
        // Why the lock may not be raised; empty when it may.
        QString lockRefusal;
        // Why the machine is not kept awake when that was asked for.
        QString keepAwakeRefusal;
    };
    // "Vostrel: Screen locked. Keeping awake. AI agents: a, b. " or "… Idle.";
    // "Screen locked (keyboard not held). " while the lock lacks the keyboard;
    // followed by why the lock may not be raised, or keep-awake was refused.
    [[nodiscard]] static QString statusText(const StatusFacts &facts);

    void setReopenHandler(std::function<void()> handler) { m_reopen = std::move(handler); }

private:
    OverlayManager &m_overlay;
    PINManager &m_pins;
    KeepAwakeManager &m_keepAwake;
    std::function<ProcessMonitor &()> m_tasks;
    std::function<void()> m_reopen;
};
