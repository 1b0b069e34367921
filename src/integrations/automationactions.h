#pragma once

#include "automationhandler.h"

#include <QObject>
#include <QStringList>

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
    // The running AI agents come from ProcessMonitor::shared(), created the
    // first time the status is asked for if the launch has not created it.
    AutomationActions(OverlayManager &overlay, PINManager &pins, KeepAwakeManager &keepAwake,
                      QObject *parent = nullptr);
    AutomationActions(OverlayManager &overlay, PINManager &pins, KeepAwakeManager &keepAwake,
                      ProcessMonitor &tasks, QObject *parent = nullptr);
    ~AutomationActions() override;

    void lockScreen() override;
    bool unlockScreen(const QString &pin) override;
    void keepAwake(int minutes, std::function<void(const QString &refusal)> answer) override;
    void stopKeepAwake() override;
    [[nodiscard]] QString status() const override;
    void reopen() override;

    // "Vostrel: Screen locked. Keeping awake. AI agents: a, b. " or "… Idle."
    [[nodiscard]] static QString statusText(bool locked, bool keepingAwake,
                                            const QStringList &agentNames);

    void setReopenHandler(std::function<void()> handler) { m_reopen = std::move(handler); }

private:
    OverlayManager &m_overlay;
    PINManager &m_pins;
    KeepAwakeManager &m_keepAwake;
    ProcessMonitor *m_tasks = nullptr;
    std::function<void()> m_reopen;
};
