import QtQuick
import Vostrel.Overlay

// The lock screen of one monitor: the theme's content, rebuilt whenever the
// theme, its fill or the website changes (typed digits live in the flow and
// survive that), and the PIN panel above it.
Rectangle {
    id: root

    required property UnlockFlow flow
    required property LockScreenContent content
    required property string screenName

    color: "black"

    Accessible.role: Accessible.Pane
    Accessible.name: qsTr("Vostrel lock screen overlay")
    Accessible.description: qsTr("Type your PIN to unlock")

    Loader {
        id: themed
        anchors.fill: parent
        sourceComponent: LockContent {
            flow: root.flow
            content: root.content
            screenName: root.screenName
        }
    }

    Connections {
        target: root.content
        function onIdentityChanged() {
            themed.active = false
            themed.active = true
        }
    }

    PinPanel {
        anchors.centerIn: parent
        flow: root.flow
        accent: root.content.accentColor
        secondaryText: root.content.secondaryText
        lightScheme: root.content.lightScheme
        opacity: root.flow.showPINField ? 1 : 0
        visible: opacity > 0
        Behavior on opacity {
            enabled: root.content.animationsEnabled
            NumberAnimation { duration: 300; easing.type: Easing.OutCubic }
        }
    }

    Text {
        anchors.top: parent.top
        anchors.topMargin: 28
        anchors.horizontalCenter: parent.horizontalCenter
        visible: root.flow.waitingForInput
        text: qsTr("Waiting for another application to release the keyboard…")
        font.pixelSize: 12
        color: Qt.rgba(1, 0.8, 0.4, 0.85)
    }
}
