#include "tray/traymodel.h"

#include "core/preferencekeys.h"
#include "core/preferences.h"
#include "integrations/automationactions.h"
#include "overlay/overlaymanager.h"
#include "triggers/hotkeymanager.h"
#include "triggers/keepawakemanager.h"

#include <QCoreApplication>
#include <QVariantMap>

#include <chrono>
#include <limits>

using namespace std::chrono_literals;

namespace {
QString unavailableSettingsToolTip()
{
    return QObject::tr("The settings window is not part of this version yet.");
}
} // namespace

TrayModel::TrayModel(const Services &services, SettingsOpener settingsOpener,
                     QuitHandler quitHandler, QObject *parent)
    : QObject(parent)
    , m_services(services)
    , m_settingsOpener(std::move(settingsOpener))
    , m_quitHandler(std::move(quitHandler))
    , m_overlayActive(services.overlay.isOverlayActive())
    , m_keepAwakeActive(services.keepAwake.isActive())
{
    connect(&m_services.overlay, &OverlayManager::overlayActiveChanged, this,
            [this] { setOverlayActive(m_services.overlay.isOverlayActive()); });
    connect(&m_services.keepAwake, &KeepAwakeManager::stateChanged, this,
            &TrayModel::readKeepAwake);
    connect(&m_services.keepAwake, &KeepAwakeManager::remainingTimeTextChanged, this,
            &TrayModel::remainingTimeTextChanged);
    connect(&m_services.keepAwake, &KeepAwakeManager::refusalChanged, this,
            &TrayModel::keepAwakeRefusalChanged);
    connect(&m_services.defaults, &Preferences::valueChanged, this, [this](const QString &key) {
        if (key == PreferenceKey::autoLockEnabled || key == PreferenceKey::autoLockMinutes)
            Q_EMIT autoLockChoiceChanged();
        // The lock row names the hotkey.
        else if (key == PreferenceKey::hotkeyModifiers || key == PreferenceKey::hotkeyKeyCode ||
                 key == PreferenceKey::hotkeyCharacter)
            Q_EMIT sectionsChanged();
    });
    connect(this, &TrayModel::sectionsChanged, this, &TrayModel::refreshRows);
    refreshRows();
}

TrayModel::~TrayModel() = default;

QString TrayModel::statusLine() const
{
    if (m_overlayActive)
        return tr("Tambering — screen locked");
    if (m_keepAwakeActive)
        return tr("Keeping awake");
    return tr("Idle");
}

QString TrayModel::statusText() const
{
    // The panel's state, not a fresh read of the managers: the two lines must
    // never disagree with each other.
    AutomationActions::StatusFacts facts;
    facts.locked = m_overlayActive;
    facts.inputHeld = m_services.overlay.isInputHeld();
    facts.keepingAwake = m_keepAwakeActive;
    return AutomationActions::statusText(facts);
}

QString TrayModel::remainingTimeText() const
{
    return m_keepAwakeActive ? m_services.keepAwake.remainingTimeText() : QString();
}

QString TrayModel::keepAwakeRefusal() const
{
    return m_overlayActive || m_keepAwakeActive ? QString() : m_services.keepAwake.refusal();
}

QList<TrayModel::Section> TrayModel::sections() const
{
    Section keepAwake{tr("Tamber Mode (Keep Awake)"), {}};
    if (m_keepAwakeActive) {
        keepAwake.rows = {
            {Action::StopKeepAwake, tr("Stop Tambering"), QStringLiteral("stop.circle")}};
    } else {
        keepAwake.rows = {
            {Action::KeepAwakeIndefinitely, tr("Indefinitely"), QStringLiteral("infinity")},
            {Action::KeepAwakeFor15Minutes, tr("For 15 minutes"), QStringLiteral("clock")},
            {Action::KeepAwakeFor30Minutes, tr("For 30 minutes"), QStringLiteral("clock")},
            {Action::KeepAwakeFor1Hour, tr("For 1 hour"), QStringLiteral("clock")},
        };
    }

    // Where the session cannot be locked at all the row says why; a missing
    // PIN is the user's to fix, so that row stays and leads to the PIN.
    const std::optional<LockRefusal> refusal = m_services.overlay.lockRefusal();
    const bool sessionRefuses = refusal == LockRefusal::waylandSession;
    const Section lock{
        tr("Lock Screen"),
        {{Action::LockNow, tr("Lock Now"), QStringLiteral("lock.fill"),
          HotkeyManager::storedDisplayString(m_services.defaults),
          sessionRefuses ? LockAvailability::message(*refusal) : QString(), !sessionRefuses},
         {Action::AutoLock, tr("Auto-lock after idle"), QStringLiteral("clock.arrow.circlepath")}}};

    const bool settings = isSettingsAvailable();
    const QString settingsTip = settings ? QString() : unavailableSettingsToolTip();
    const Section app{{},
                      {{Action::OpenSettings,
                        tr("Settings..."),
                        QStringLiteral("gear"),
                        {},
                        settingsTip,
                        settings},
                       {Action::OpenAbout,
                        tr("About Vostrel"),
                        QStringLiteral("info.circle"),
                        {},
                        settingsTip,
                        settings}}};
    const Section quit{{}, {{Action::Quit, tr("Quit Vostrel"), QStringLiteral("power")}}};
    return {keepAwake, lock, app, quit};
}

void TrayModel::refreshRows()
{
    QList<TrayPanelRow> top;
    QList<TrayPanelRow> footer;
    const QList<Section> all = sections();
    for (const Section &section : all) {
        QList<TrayPanelRow> &rows = section.title.isEmpty() ? footer : top;
        bool first = true;
        for (const Row &row : section.rows) {
            rows.append({int(row.action), row.title, row.symbol, row.hint, row.toolTip,
                         row.available, first, first ? section.title : QString()});
            first = false;
        }
    }
    m_topRows.setItems(std::move(top));
    m_footerRows.setItems(std::move(footer));
}

int TrayModel::autoLockChoice() const
{
    if (!m_services.defaults.boolValue(PreferenceKey::autoLockEnabled))
        return autoLockOff;
    // A value of another type reads as 0, and 0 or less means the default.
    const qint64 minutes = m_services.defaults.integer(PreferenceKey::autoLockMinutes);
    if (minutes <= 0 || minutes > std::numeric_limits<int>::max())
        return defaultAutoLockMinutes;
    return int(minutes);
}

QList<QPair<QString, int>> TrayModel::autoLockChoices()
{
    return {{tr("Off"), autoLockOff}, {tr("5 min"), 5}, {tr("10 min"), 10}, {tr("30 min"), 30}};
}

QVariantList TrayModel::autoLockChoicesValue() const
{
    QVariantList result;
    const QList<QPair<QString, int>> choices = autoLockChoices();
    for (const auto &[label, minutes] : choices) {
        result.append(
            QVariantMap{{QStringLiteral("label"), label}, {QStringLiteral("minutes"), minutes}});
    }
    return result;
}

void TrayModel::chooseAutoLock(int minutes)
{
    const int before = autoLockChoice();
    if (minutes <= 0) {
        m_services.defaults.setBool(PreferenceKey::autoLockEnabled, false);
    } else {
        m_services.defaults.setBool(PreferenceKey::autoLockEnabled, true);
        m_services.defaults.setInteger(PreferenceKey::autoLockMinutes, minutes);
    }
    if (autoLockChoice() != before)
        Q_EMIT autoLockChoiceChanged();
}

void TrayModel::trigger(Action action)
{
    KeepAwakeManager &keepAwake = m_services.keepAwake;
    switch (action) {
    case Action::KeepAwakeIndefinitely:
        keepAwake.start();
        break;
    case Action::KeepAwakeFor15Minutes:
        keepAwake.start(15min);
        break;
    case Action::KeepAwakeFor30Minutes:
        keepAwake.start(30min);
        break;
    case Action::KeepAwakeFor1Hour:
        keepAwake.start(1h);
        break;
    case Action::StopKeepAwake:
        keepAwake.stop();
        break;
    case Action::LockNow:
        Q_EMIT panelShouldClose();
        if (m_lockHandler)
            m_lockHandler();
        else
            m_services.overlay.lock();
        break;
    case Action::AutoLock:
        break;
    case Action::OpenSettings:
        openSettings(SettingsPage::General);
        break;
    case Action::OpenAbout:
        openSettings(SettingsPage::About);
        break;
    case Action::Quit:
        // Inhibitors end with the process anyway; stopping first also tells
        // every observer, and a quit that is refused leaves nothing held.
        keepAwake.stop();
        if (m_quitHandler)
            m_quitHandler();
        else
            QCoreApplication::quit();
        break;
    }
}

void TrayModel::openSettings(SettingsPage page)
{
    if (!isSettingsAvailable())
        return;
    Q_EMIT panelShouldClose();
    m_settingsOpener(page);
}

void TrayModel::setOverlayActive(bool active)
{
    if (m_overlayActive == active)
        return;
    m_overlayActive = active;
    Q_EMIT overlayActiveChanged();
    Q_EMIT statusChanged();
    Q_EMIT keepAwakeRefusalChanged();
}

void TrayModel::readKeepAwake()
{
    const bool active = m_services.keepAwake.isActive();
    if (m_keepAwakeActive == active)
        return;
    m_keepAwakeActive = active;
    Q_EMIT keepAwakeActiveChanged();
    Q_EMIT statusChanged();
    Q_EMIT keepAwakeRefusalChanged();
    Q_EMIT sectionsChanged();
    Q_EMIT remainingTimeTextChanged();
}
