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
        opacity: root.flow.showPINField && !root.flow.waitingForInput ? 1 : 0
        visible: opacity > 0
        Behavior on opacity {
            enabled: root.content.animationsEnabled
            NumberAnimation { duration: 300; easing.type: Easing.OutCubic }
        }
    }

    // Keys typed now go to the application holding the keyboard, not to the
    // PIN: the lock asks for none and says how to get the keyboard back.
    Column {
        anchors.centerIn: parent
        width: Math.min(parent.width - 64, 560)
        visible: root.flow.waitingForInput
        spacing: 10

        Text {
            width: parent.width
            text: qsTr("Waiting for another application to release the keyboard…")
            wrapMode: Text.Wrap
            horizontalAlignment: Text.AlignHCenter
            font.pixelSize: 20
            color: root.content.secondaryText
        }
        Text {
            width: parent.width
            text: qsTr("Press Escape to close the open menu")
            wrapMode: Text.Wrap
            horizontalAlignment: Text.AlignHCenter
            font.pixelSize: 14
            color: Qt.rgba(root.content.secondaryText.r, root.content.secondaryText.g,
                           root.content.secondaryText.b, 0.7)
        }
    }
}
