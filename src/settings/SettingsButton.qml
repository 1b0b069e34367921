import QtQuick
import QtQuick.Controls.Basic

// A push button in one of three looks: bordered (default), prominent (filled
// with the accent) or link (borderless blue text, 12 px); `destructive` draws
// the text in the error colour.
Button {
    id: control

    property bool prominent: false
    property bool link: false
    property bool destructive: false

    padding: link ? 2 : 6
    leftPadding: link ? 2 : 14
    rightPadding: link ? 2 : 14
    implicitHeight: link ? 20 : 28
    hoverEnabled: true
    focusPolicy: Qt.StrongFocus

    contentItem: Text {
        text: control.text
        font.pixelSize: control.link ? 12 : 13
        font.weight: control.prominent ? Font.DemiBold : Font.Medium
        font.underline: control.link && control.hovered
        color: control.destructive ? SettingsStyle.error
             : control.link ? SettingsStyle.link
                            : (control.prominent ? SettingsStyle.accentText : SettingsStyle.text)
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
        opacity: control.enabled ? 1 : 0.45
    }

    background: Rectangle {
        visible: !control.link
        radius: 7
        color: control.prominent
               ? (control.down ? Qt.darker(SettingsStyle.accent, 1.15) : SettingsStyle.accent)
               : (control.down ? SettingsStyle.hover : SettingsStyle.control)
        border.color: control.prominent ? "transparent"
                                        : (control.visualFocus ? SettingsStyle.accent : SettingsStyle.controlBorder)
        border.width: 1
        opacity: control.enabled ? 1 : 0.5
    }
}
