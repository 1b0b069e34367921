#include "hotkeyrecorder.h"

#include "hotkeymanager.h"
#include "platformwording.h"

HotkeyRecorder::HotkeyRecorder(QObject *parent)
    : HotkeyRecorder(HotkeyManager::shared(), parent)
{}

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
    QStringList caps;
    const QString display = m_manager.displayString();
    // By code point, so that no cap holds half a surrogate pair.
    for (const uint codePoint : display.toUcs4())
        caps.append(QString::fromUcs4(reinterpret_cast<const char32_t *>(&codePoint), 1));
    return caps;
}

QString HotkeyRecorder::subtitle() const
{
    if (isRecording())
        return tr("Press your new shortcut...");
    if (m_manager.isGlobalGrabSupported())
        return tr("Press to instantly lock your screen from any app.");
    return PlatformWording::adapt(tr("From other apps, enable Vostrel under System Settings → "
                                     "Privacy & Security → Accessibility."));
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
