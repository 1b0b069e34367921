import QtQuick
import QtQuick.Layouts
import Vostrel.Settings

// The lock hotkey: its key caps and "Change", or "Recording..." and "Cancel"
// while the next shortcut is awaited. A combination another application
// holds is named under the row.
ColumnLayout {
    id: hotkey

    property HotkeyRecorder recorder: SettingsObjects.hotkeyRecorder(hotkey)
    readonly property string settingsKind: "row"
    readonly property string title: row.title

    Layout.fillWidth: true
    spacing: 0

    SettingsRow {
        id: row
        icon: "command"
        iconColor: SettingsStyle.indigo
        title: qsTr("Lock hotkey")
        subtitle: hotkey.recorder.subtitle
        showsSeparator: hotkey.y > 0

        Row {
            objectName: "keyCaps"
            visible: !hotkey.recorder.recording
            spacing: 4
            Repeater {
                model: hotkey.recorder.keyCaps
                KeyCapView {
                    required property string modelData
                    key: modelData
                }
            }
        }
        Text {
            objectName: "recordingLabel"
            visible: hotkey.recorder.recording
            text: qsTr("Recording...")
            color: SettingsStyle.warning
            font.pixelSize: 12
            font.weight: Font.Medium
        }
        SettingsButton {
            objectName: "hotkeyButton"
            text: hotkey.recorder.recording ? qsTr("Cancel") : qsTr("Change")
            onClicked: hotkey.recorder.recording ? hotkey.recorder.cancel() : hotkey.recorder.change()
        }
    }

    Text {
        objectName: "hotkeyConflict"
        visible: text.length > 0
        Layout.fillWidth: true
        Layout.leftMargin: 56
        Layout.rightMargin: 16
        Layout.bottomMargin: 12
        text: hotkey.recorder.conflictMessage
        color: SettingsStyle.warning
        font.pixelSize: 11
        wrapMode: Text.Wrap
    }
}
