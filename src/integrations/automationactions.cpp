#include "integrations/automationactions.h"

#include "overlay/overlaymanager.h"
#include "overlay/pinmanager.h"
#include "tasks/processmonitor.h"
#include "triggers/keepawakemanager.h"

#include <QTimer>

#include <chrono>
#include <memory>
#include <utility>

AutomationActions::AutomationActions(OverlayManager &overlay, PINManager &pins,
                                     KeepAwakeManager &keepAwake,
                                     std::function<ProcessMonitor &()> tasks, QObject *parent)
    : QObject(parent)
    , m_overlay(overlay)
    , m_pins(pins)
    , m_keepAwake(keepAwake)
    , m_tasks(std::move(tasks))
{}

AutomationActions::AutomationActions(OverlayManager &overlay, PINManager &pins,
                                     KeepAwakeManager &keepAwake, ProcessMonitor &tasks,
                                     QObject *parent)
    : AutomationActions(
          overlay, pins, keepAwake, [&tasks]() -> ProcessMonitor & { return tasks; }, parent)
{}

AutomationActions::~AutomationActions() = default;

void AutomationActions::lockScreen(std::function<void(const QString &refusal)> answer)
{
    if (const std::optional<LockRefusal> refusal = m_overlay.lock()) {
        answer(LockAvailability::message(*refusal));
        return;
    }
    if (m_overlay.isOverlayActive()) {
        answer({});
        return;
    }
    // The compositor has yet to confirm the session lock. Whichever comes
    // first answers: the lock, its failure, or the time running out.
    auto *waiting = new QObject(this);
    auto once = [waiting, answered = std::make_shared<bool>(false),
                 answer = std::move(answer)](const QString &refusal) {
        if (std::exchange(*answered, true))
            return;
        answer(refusal);
        waiting->deleteLater();
    };
    connect(&m_overlay, &OverlayManager::overlayActiveChanged, waiting, [this, once] {
        if (m_overlay.isOverlayActive())
            once({});
    });
    connect(&m_overlay, &OverlayManager::lockFailed, waiting, once);
    QTimer::singleShot(lockConfirmationTimeout, waiting,
                       [once] { once(tr("The lock did not come up in time.")); });
}

bool AutomationActions::unlockScreen(const QString &pin)
{
    // The same check, count and lockout as a PIN typed on the lock screen.
    if (!m_pins.verifyPIN(pin))
        return false;
    m_overlay.deactivate();
    return true;
}

void AutomationActions::keepAwake(int minutes, std::function<void(const QString &refusal)> answer)
{
    if (minutes < 1)
        m_keepAwake.start();
    else
        m_keepAwake.start(std::chrono::minutes(minutes));
    // A period stopped before the desktop answered was not refused.
    const auto tell = [this, answer = std::move(answer)] {
        answer(m_keepAwake.isActive() ? QString() : m_keepAwake.refusal());
    };
    if (m_keepAwake.isAsking())
        connect(&m_keepAwake, &KeepAwakeManager::settled, this, tell, Qt::SingleShotConnection);
    else
        tell();
}

void AutomationActions::stopKeepAwake()
{
    m_keepAwake.stop();
}

QString AutomationActions::status() const
{
    const ProcessMonitor &tasks = m_tasks();
    const std::optional<LockRefusal> refusal =
        m_overlay.isOverlayActive() ? std::nullopt : m_overlay.lockRefusal();
    return statusText({m_overlay.isOverlayActive(), m_overlay.isInputHeld(), m_keepAwake.isActive(),
                       tasks.aiAgentNames(),
                       refusal ? LockAvailability::message(*refusal) : QString(),
                       m_keepAwake.isActive() ? QString() : m_keepAwake.refusal()});
}

void AutomationActions::reopen()
{
    if (m_reopen)
        m_reopen();
}

QString AutomationActions::statusText(const StatusFacts &facts)
{
    QString text = QStringLiteral("Vostrel: ");
    if (facts.locked)
        text += facts.inputHeld ? QLatin1String("Screen locked. ")
                                : QLatin1String("Screen locked (keyboard not held). ");
    if (facts.keepingAwake)
        text += QLatin1String("Keeping awake. ");
    if (!facts.agentNames.isEmpty())
        text += QLatin1String("AI agents: ") + facts.agentNames.join(QLatin1String(", ")) +
                QLatin1String(". ");
    if (!facts.locked && !facts.keepingAwake)
        text += QLatin1String("Idle.");
    // Last, each a sentence of its own: scripts that match the usual start
    // of the text still match.
    for (const QString &refusal : {facts.lockRefusal, facts.keepAwakeRefusal}) {
        if (refusal.isEmpty())
            continue;
        if (!text.endsWith(QLatin1Char(' ')))
            text += QLatin1Char(' ');
        text += refusal + QLatin1Char('.');
    }
    return text;
}
