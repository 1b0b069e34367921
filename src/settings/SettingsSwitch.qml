import QtQuick
import QtQuick.Controls.Basic

// An on/off switch that shows `value` and reports a flip through
// toggledTo(); it shows the value again afterwards, so a setting that
// refuses the change (and puts it back) is drawn as it really is.
Switch {
    id: control

    property bool value
    signal toggledTo(bool on)

    checked: value
    implicitWidth: 40
    implicitHeight: 22
    padding: 0
    spacing: 0
    onToggled: {
        control.toggledTo(checked)
        checked = Qt.binding(() => control.value)
    }

    indicator: Rectangle {
        implicitWidth: 40
        implicitHeight: 22
        x: control.leftPadding
        y: (control.height - height) / 2
        radius: 11
        color: control.checked ? SettingsStyle.accent : SettingsStyle.switchOff
        opacity: control.enabled ? 1 : 0.5
        Behavior on color { ColorAnimation { duration: 120 } }

        Rectangle {
            x: control.checked ? parent.width - width - 2 : 2
            y: 2
            width: 18
            height: 18
            radius: 9
            color: "white"
            border.color: Qt.rgba(0, 0, 0, 0.12)
            Behavior on x { NumberAnimation { duration: 120; easing.type: Easing.OutCubic } }
        }
    }
    contentItem: Item {}
}
