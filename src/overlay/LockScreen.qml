import QtQuick
import Vostrel.Overlay

// The lock screen of one monitor: backdrop, hint row and, once a key was
// pressed, the PIN panel. Everything it shows comes from its UnlockFlow.
Rectangle {
    id: root

    required property UnlockFlow flow
    readonly property color secondaryText: Qt.rgba(1, 1, 1, 0.95)
    readonly property color accent: "#7aa2f7"

    color: "#0b0d12"
    focus: true

    Accessible.role: Accessible.Pane
    Accessible.name: qsTr("Vostrel lock screen overlay")
    Accessible.description: qsTr("Type your PIN to unlock")

    Text {
        anchors.top: parent.top
        anchors.topMargin: 24
        anchors.horizontalCenter: parent.horizontalCenter
        visible: root.flow.waitingForInput
        text: qsTr("Waiting for another application to release the keyboard…")
        font.pixelSize: 12
        color: Qt.rgba(1, 0.8, 0.4, 0.8)
    }

    HintRow {
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.verticalCenter: parent.verticalCenter
        flow: root.flow
        accent: root.accent
        visible: !root.flow.showPINField
    }

    PinPanel {
        anchors.centerIn: parent
        flow: root.flow
        accent: root.accent
        secondaryText: root.secondaryText
        opacity: root.flow.showPINField ? 1 : 0
        visible: opacity > 0
        Behavior on opacity {
            NumberAnimation { duration: 300; easing.type: Easing.OutCubic }
        }
    }

    Component.onCompleted: flow.appeared()
}
