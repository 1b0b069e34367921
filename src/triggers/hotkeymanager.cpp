#include "triggers/hotkeymanager.h"

#include "core/preferencekeys.h"
#include "core/preferences.h"
#include "platform/keygrabber.h"
#include "platform/virtualkeys.h"
#include "triggers/keycombination.h"
#include "triggers/triggerslog.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QtDebug>
#include <QWindow>

#include <cmath>

namespace {
using VirtualKeys::Modifier::matchMask;

// Integers are what this application writes; a whole, non-negative double is
// still a readable number from a hand-edited file.
std::optional<quint64> unsignedNumber(const QVariant &value)
{
    if (value.typeId() == QMetaType::LongLong) {
        const qint64 number = value.toLongLong();
        if (number >= 0)
            return quint64(number);
    } else if (value.typeId() == QMetaType::Double) {
        const double number = value.toDouble();
        if (number >= 0 && number < 9007199254740992.0 && std::trunc(number) == number)
            return quint64(number);
    }
    return std::nullopt;
}

quint64 loadModifierFlags(const Preferences &defaults)
{
    const QVariant stored = defaults.value(PreferenceKey::hotkeyModifiers);
    if (!stored.isValid())
        return HotkeyManager::defaultModifierFlags;
    const std::optional<quint64> flags = unsignedNumber(stored);
    if (!flags) {
        qCWarning(lcTriggers) << "HotkeyManager: hotkeyModifiers is not a modifier mask:" << stored
                              << "- using command";
        return HotkeyManager::defaultModifierFlags;
    }
    if ((*flags & matchMask) == 0) {
        qCWarning(lcTriggers) << "HotkeyManager: hotkeyModifiers" << *flags
                              << "holds none of shift, control, option, command - using command";
        return HotkeyManager::defaultModifierFlags;
    }
    return *flags;
}

quint16 loadKeyCode(const Preferences &defaults)
{
    const QVariant stored = defaults.value(PreferenceKey::hotkeyKeyCode);
    if (!stored.isValid())
        return HotkeyManager::defaultKeyCode;
    if (stored.typeId() == QMetaType::LongLong) {
        const qint64 code = stored.toLongLong();
        if (code >= 0 && code <= 0xffff)
            return quint16(code);
    }
    qCWarning(lcTriggers) << "HotkeyManager: hotkeyKeyCode is not a key code in 0...65535:"
                          << stored << "- using" << HotkeyManager::defaultKeyCode;
    return HotkeyManager::defaultKeyCode;
}

// Without a usable stored character the key's own label is shown, so a stored
// K never reads as Super+L.
QString loadKeyCharacter(const Preferences &defaults, quint16 keyCode)
{
    const QVariant stored = defaults.value(PreferenceKey::hotkeyCharacter);
    if (stored.typeId() == QMetaType::QString && !stored.toString().isEmpty())
        return stored.toString();
    if (stored.isValid())
        qCWarning(lcTriggers) << "HotkeyManager: hotkeyCharacter is not a character:" << stored;
    const QString label = VirtualKeys::label(keyCode);
    return label.isEmpty() ? QStringLiteral("?") : label;
}

// Keys that type no printable character (Return, F5, the arrows) are shown by
// the name of the key code: what was stored for them may be a control
// character or a glyph of another keyboard's legend.
QString shownKey(quint16 keyCode, const QString &character)
{
    const QString label = VirtualKeys::label(keyCode);
    const bool printable =
        label.size() == 1 && label.at(0).unicode() > 0x20 && label.at(0).unicode() < 0x7f;
    return label.isEmpty() || printable ? character : label;
}

// Ordinary windows and dialogs; pop-ups and tool tips have type Popup or
// ToolTip, and the lock's panels set no window type of their own.
bool takesTyping(const QWindow *window)
{
    return window && (window->type() == Qt::Window || window->type() == Qt::Dialog);
}
} // namespace

HotkeyManager::HotkeyManager(Preferences &defaults, KeyGrabber &grabber, QObject *parent)
    : QObject(parent)
    , m_defaults(defaults)
    , m_grabber(grabber)
{
    m_modifierFlags = loadModifierFlags(defaults);
    m_keyCode = loadKeyCode(defaults);
    m_keyCharacter = loadKeyCharacter(defaults, m_keyCode);
    connect(&m_grabber, &KeyGrabber::activated, this, &HotkeyManager::onGlobalActivated);
    if (auto *application = qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        followFocusWindow(QGuiApplication::focusWindow());
        connect(application, &QGuiApplication::focusWindowChanged, this,
                &HotkeyManager::followFocusWindow);
    }
}

HotkeyManager::~HotkeyManager()
{
    removeMonitors();
    m_isRecording = false;
    updateEventFilter();
}

void HotkeyManager::setModifierFlags(quint64 flags)
{
    const bool displayChanges = (flags & matchMask) != (m_modifierFlags & matchMask);
    const bool changes = flags != m_modifierFlags;
    m_modifierFlags = flags;
    m_defaults.setInteger(PreferenceKey::hotkeyModifiers, qint64(flags));
    if (changes)
        Q_EMIT modifierFlagsChanged();
    if (displayChanges)
        Q_EMIT displayStringChanged();
    Q_EMIT hotkeyChanged();
}

void HotkeyManager::setKeyCode(quint16 keyCode)
{
    const bool changes = keyCode != m_keyCode;
    m_keyCode = keyCode;
    m_defaults.setInteger(PreferenceKey::hotkeyKeyCode, keyCode);
    if (changes) {
        Q_EMIT keyCodeChanged();
        // Named keys are shown by their code.
        Q_EMIT displayStringChanged();
    }
    Q_EMIT hotkeyChanged();
}

void HotkeyManager::setKeyCharacter(const QString &character)
{
    const bool changes = character != m_keyCharacter;
    m_keyCharacter = character;
    m_defaults.setString(PreferenceKey::hotkeyCharacter, character);
    if (changes) {
        Q_EMIT keyCharacterChanged();
        Q_EMIT displayStringChanged();
    }
    Q_EMIT hotkeyChanged();
}

QString HotkeyManager::displayString() const
{
    return KeyCombination::text(m_modifierFlags, shownKey(m_keyCode, m_keyCharacter));
}

QStringList HotkeyManager::displayParts() const
{
    return KeyCombination::parts(m_modifierFlags, shownKey(m_keyCode, m_keyCharacter));
}

QString HotkeyManager::storedDisplayString(const Preferences &defaults)
{
    const quint16 keyCode = loadKeyCode(defaults);
    return KeyCombination::text(loadModifierFlags(defaults),
                                shownKey(keyCode, loadKeyCharacter(defaults, keyCode)));
}

QString HotkeyManager::conflictMessage() const
{
    if (!m_hasConflict)
        return {};
    return tr("%1 is already used by another application. It locks the screen only while "
              "Vostrel is in front.")
        .arg(displayString());
}

bool HotkeyManager::isGlobalGrabSupported() const
{
    return m_grabber.isGlobalGrabSupported();
}

bool HotkeyManager::matches(quint16 keyCode, quint64 modifierFlags) const
{
    return keyCode == m_keyCode && (modifierFlags & matchMask) == (m_modifierFlags & matchMask);
}

void HotkeyManager::registerHandler(std::function<void()> handler)
{
    unregister();
    m_handler = std::move(handler);
    install();
}

void HotkeyManager::unregister()
{
    removeMonitors();
    m_handler = nullptr;
    setConflict(false);
}

void HotkeyManager::install()
{
    if (!m_handler || m_isRecording)
        return;
    if ((m_modifierFlags & matchMask) == 0) {
        qCWarning(lcTriggers) << "HotkeyManager: not installing" << displayString()
                              << "- a hotkey needs shift, control, option or command";
        return;
    }
    bool refused = false;
    bool suspended = false;
    if (m_grabber.isGlobalGrabSupported()) {
        switch (m_grabber.grab(m_keyCode, m_modifierFlags & matchMask)) {
        case KeyGrabber::GrabResult::Grabbed:
            // Taken and let go at once in a typing window: the grab still
            // tells whether another application holds the combination.
            if (m_isTypingWindowFocused) {
                m_grabber.ungrab();
                suspended = true;
            } else {
                m_isGlobalInstalled = true;
            }
            break;
        case KeyGrabber::GrabResult::Refused:
            refused = true;
            break;
        case KeyGrabber::GrabResult::UnsupportedKey:
        case KeyGrabber::GrabResult::Unavailable:
            break;
        }
    }
    // Whatever kept the global grab from working, the combination still
    // locks from inside the application.
    m_isLocalInstalled = !m_isGlobalInstalled && !suspended;
    updateEventFilter();
    setConflict(refused);
}

void HotkeyManager::followFocusWindow(QWindow *window)
{
    disconnect(m_focusHidden);
    disconnect(m_focusDestroyed);
    // A focus window that is hidden or destroyed does not always report the
    // focus leaving it.
    if (window) {
        m_focusHidden = connect(window, &QWindow::visibleChanged, this, [this](bool visible) {
            if (!visible)
                setTypingWindowFocused(false);
        });
        m_focusDestroyed =
            connect(window, &QObject::destroyed, this, [this] { setTypingWindowFocused(false); });
    }
    setTypingWindowFocused(takesTyping(window));
}

void HotkeyManager::setTypingWindowFocused(bool focused)
{
    if (focused == m_isTypingWindowFocused)
        return;
    m_isTypingWindowFocused = focused;
    if (!m_handler || m_isRecording || !m_grabber.isGlobalGrabSupported())
        return;
    removeMonitors();
    install();
}

void HotkeyManager::removeMonitors()
{
    if (m_isGlobalInstalled)
        m_grabber.ungrab();
    m_isGlobalInstalled = false;
    m_isLocalInstalled = false;
    updateEventFilter();
}

void HotkeyManager::updateEventFilter()
{
    const bool wanted = m_isLocalInstalled || m_isRecording;
    QCoreApplication *application = QCoreApplication::instance();
    if (wanted == m_isFilterInstalled || !application)
        return;
    if (wanted)
        application->installEventFilter(this);
    else
        application->removeEventFilter(this);
    m_isFilterInstalled = wanted;
}

void HotkeyManager::setConflict(bool conflict)
{
    if (conflict == m_hasConflict)
        return;
    m_hasConflict = conflict;
    Q_EMIT conflictChanged();
}

void HotkeyManager::runHandler()
{
    // The handler may register a new one, which must not destroy the
    // function that is running.
    const std::function<void()> handler = m_handler;
    if (handler)
        handler();
}

void HotkeyManager::onGlobalActivated()
{
    if (!m_isGlobalInstalled)
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_isGlobalInstalled)
                runHandler();
        },
        Qt::QueuedConnection);
}

void HotkeyManager::startRecording()
{
    if (m_isRecording)
        return;
    removeMonitors();
    m_isRecording = true;
    updateEventFilter();
    Q_EMIT recordingChanged();
}

void HotkeyManager::cancelRecording()
{
    if (m_isRecording)
        stopRecording();
}

void HotkeyManager::stopRecording()
{
    m_isRecording = false;
    updateEventFilter();
    install();
    Q_EMIT recordingChanged();
}

bool HotkeyManager::recordKeyEvent(quint16 keyCode, quint64 modifierFlags,
                                   const QString &characters)
{
    if (!m_isRecording || (modifierFlags & matchMask) == 0)
        return false;
    // Recording stays on through the three stores, so a registration that
    // each store's notification triggers waits for the whole combination.
    setModifierFlags(modifierFlags & matchMask);
    setKeyCode(keyCode);
    setKeyCharacter(characters.isEmpty() ? QStringLiteral("?") : characters.toUpper());
    stopRecording();
    return true;
}

bool HotkeyManager::eventFilter(QObject *watched, QEvent *event)
{
    Q_UNUSED(watched);
    const bool isPress = event->type() == QEvent::KeyPress;
    if (!isPress && event->type() != QEvent::ShortcutOverride)
        return false;
    const auto *keyEvent = static_cast<QKeyEvent *>(event);
    const std::optional<quint16> keyCode =
        VirtualKeys::fromQtKey(keyEvent->key(), keyEvent->modifiers());
    if (!keyCode)
        return false;
    const quint64 flags = VirtualKeys::modifierMask(keyEvent->modifiers());

    if (m_isRecording) {
        const bool consume = isPress ? recordKeyEvent(*keyCode, flags, VirtualKeys::label(*keyCode))
                                     : (flags & matchMask) != 0;
        if (consume)
            event->accept();
        return consume;
    }
    if (!m_isLocalInstalled || !matches(*keyCode, flags))
        return false;
    // Accepting the override keeps an application shortcut on the same keys
    // from firing; the press itself follows and is consumed here.
    event->accept();
    if (isPress && !keyEvent->isAutoRepeat())
        runHandler();
    return true;
}
