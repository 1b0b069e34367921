#include "automationactions.h"

#include "keepawakemanager.h"
#include "overlaymanager.h"
#include "pinmanager.h"
#include "processmonitor.h"

#include <chrono>

AutomationActions::AutomationActions(OverlayManager &overlay, PINManager &pins,
                                     KeepAwakeManager &keepAwake, QObject *parent)
    : QObject(parent)
    , m_overlay(overlay)
    , m_pins(pins)
    , m_keepAwake(keepAwake)
{}

AutomationActions::AutomationActions(OverlayManager &overlay, PINManager &pins,
                                     KeepAwakeManager &keepAwake, ProcessMonitor &tasks,
                                     QObject *parent)
    : AutomationActions(overlay, pins, keepAwake, parent)
{
    m_tasks = &tasks;
}

AutomationActions::~AutomationActions() = default;

void AutomationActions::lockScreen()
{
    m_overlay.lock();
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
    const ProcessMonitor &tasks = m_tasks ? *m_tasks : ProcessMonitor::shared();
    QString text =
        statusText(m_overlay.isOverlayActive(), m_keepAwake.isActive(), tasks.aiAgentNames());
    // Last and a sentence of its own: scripts that match the usual start of
    // the text still match.
    if (!m_keepAwake.isActive() && !m_keepAwake.refusal().isEmpty()) {
        if (!text.endsWith(QLatin1Char(' ')))
            text += QLatin1Char(' ');
        text += m_keepAwake.refusal() + QLatin1Char('.');
    }
    return text;
}

void AutomationActions::reopen()
{
    if (m_reopen)
        m_reopen();
}

QString AutomationActions::statusText(bool locked, bool keepingAwake, const QStringList &agentNames)
{
    QString text = QStringLiteral("Vostrel: ");
    if (locked)
        text += QLatin1String("Screen locked. ");
    if (keepingAwake)
        text += QLatin1String("Keeping awake. ");
    if (!agentNames.isEmpty())
        text += QLatin1String("AI agents: ") + agentNames.join(QLatin1String(", ")) +
                QLatin1String(". ");
    if (!locked && !keepingAwake)
        text += QLatin1String("Idle.");
    return text;
}
