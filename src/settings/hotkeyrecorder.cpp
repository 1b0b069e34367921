#include "settings/hotkeyrecorder.h"

#include "triggers/hotkeymanager.h"

HotkeyRecorder::HotkeyRecorder(HotkeyManager &manager, QObject *parent)
    : QObject(parent)
    , m_manager(manager)
{
    connect(&m_manager, &HotkeyManager::recordingChanged, this, [this] {
        Q_EMIT recordingChanged();
        Q_EMIT subtitleChanged();
    });
    connect(&m_manager, &HotkeyManager::displayStringChanged, this,
            &HotkeyRecorder::keyCapsChanged);
    connect(&m_manager, &HotkeyManager::conflictChanged, this, &HotkeyRecorder::conflictChanged);
}

HotkeyRecorder::~HotkeyRecorder()
{
    m_manager.cancelRecording();
}

bool HotkeyRecorder::isRecording() const
{
    return m_manager.isRecording();
}

QStringList HotkeyRecorder::keyCaps() const
{
    return m_manager.displayParts();
}

QString HotkeyRecorder::subtitle() const
{
    if (isRecording())
        return tr("Press your new shortcut...");
    if (m_manager.isGlobalGrabSupported())
        return tr("Press to instantly lock your screen from any app.");
    // Without a global grab (Wayland) the desktop's own shortcut settings are
    // the way to lock from anywhere.
    return tr("From other apps: bind the command “vostrel lock” to a shortcut in your "
              "desktop's keyboard settings.");
}

QString HotkeyRecorder::conflictMessage() const
{
    return m_manager.conflictMessage();
}

void HotkeyRecorder::change()
{
    m_manager.startRecording();
}

void HotkeyRecorder::cancel()
{
    m_manager.cancelRecording();
}
