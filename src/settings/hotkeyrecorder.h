#pragma once

#include <QObject>
#include <qqmlregistration.h>
#include <QStringList>

class HotkeyManager;

// The Lock hotkey row: the current combination as key caps, "Change" to
// record a new one through the hotkey manager (which takes the next press
// typed into the application that carries a modifier), "Cancel" to stop.
class HotkeyRecorder : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("made by SettingsObjects")
    Q_DISABLE_COPY_MOVE(HotkeyRecorder)
    Q_PROPERTY(bool recording READ isRecording NOTIFY recordingChanged)
    // The combination one key per cap: ["Super", "L"].
    Q_PROPERTY(QStringList keyCaps READ keyCaps NOTIFY keyCapsChanged)
    Q_PROPERTY(QString subtitle READ subtitle NOTIFY subtitleChanged)
    // Set when the display server refused the combination because another
    // application holds it.
    Q_PROPERTY(QString conflictMessage READ conflictMessage NOTIFY conflictChanged)

public:
    explicit HotkeyRecorder(HotkeyManager &manager, QObject *parent = nullptr);
    // A row that goes away while recording leaves the hotkey as it was.
    ~HotkeyRecorder() override;

    [[nodiscard]] bool isRecording() const;
    [[nodiscard]] QStringList keyCaps() const;
    [[nodiscard]] QString subtitle() const;
    [[nodiscard]] QString conflictMessage() const;

    Q_INVOKABLE void change();
    Q_INVOKABLE void cancel();

Q_SIGNALS:
    void recordingChanged();
    void keyCapsChanged();
    void subtitleChanged();
    void conflictChanged();

private:
    HotkeyManager &m_manager;
};
