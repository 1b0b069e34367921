import QtQuick

// One key of a shortcut, drawn as a key cap.
Rectangle {
    id: cap

    property string key
    readonly property string settingsKind: "keycap"

    implicitWidth: Math.max(24, label.implicitWidth + 12)
    implicitHeight: 22
    radius: 5
    color: SettingsStyle.control
    border.color: SettingsStyle.controlBorder
    border.width: 1

    // The lower edge of a physical key.
    Rectangle {
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        anchors.margins: 1
        height: 2
        radius: 4
        color: SettingsStyle.separator
    }

    Text {
        id: label
        anchors.centerIn: parent
        text: cap.key
        color: SettingsStyle.text
        font.pixelSize: 12
        font.weight: Font.Medium
    }
}
