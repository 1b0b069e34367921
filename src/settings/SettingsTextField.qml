import QtQuick
import QtQuick.Controls.Basic

// A rounded text field; `masked` hides what is typed.
TextField {
    id: field

    property bool masked: false

    echoMode: masked ? TextInput.Password : TextInput.Normal
    implicitWidth: 200
    implicitHeight: 30
    leftPadding: 10
    rightPadding: 10
    font.pixelSize: 13
    color: SettingsStyle.text
    placeholderTextColor: SettingsStyle.tertiaryText
    selectionColor: SettingsStyle.accent
    selectedTextColor: SettingsStyle.accentText
    selectByMouse: true

    background: Rectangle {
        radius: 7
        color: SettingsStyle.field
        border.color: field.activeFocus ? SettingsStyle.accent : SettingsStyle.controlBorder
        border.width: field.activeFocus ? 2 : 1
    }
}
