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
    Rectangle {
        anchors.centerIn: parent
        visible: root.flow.waitingForInput
        width: Math.min(waiting.implicitWidth + 80, parent.width - 64)
        height: waiting.implicitHeight + 64
        radius: 16
        color: root.content.lightScheme ? Qt.rgba(0.97, 0.97, 0.98, 0.94)
                                        : Qt.rgba(0.10, 0.11, 0.14, 0.94)
        border.color: root.content.lightScheme ? Qt.rgba(0, 0, 0, 0.08) : Qt.rgba(1, 1, 1, 0.08)
        border.width: 1
        Accessible.role: Accessible.AlertMessage
        Accessible.name: waitingTitle.text

        Column {
            id: waiting
            anchors.centerIn: parent
            width: Math.min(implicitWidth, parent.width - 80)
            spacing: 10

            Text {
                id: waitingTitle
                anchors.horizontalCenter: parent.horizontalCenter
                width: Math.min(implicitWidth, root.width - 144)
                text: qsTr("Waiting for another application to release the keyboard…")
                wrapMode: Text.Wrap
                horizontalAlignment: Text.AlignHCenter
                font.pixelSize: 16
                color: root.content.secondaryText
            }
            Text {
                anchors.horizontalCenter: parent.horizontalCenter
                text: qsTr("Press Escape to close the open menu")
                font.pixelSize: 13
                color: Qt.rgba(root.content.secondaryText.r, root.content.secondaryText.g,
                               root.content.secondaryText.b, 0.7)
            }
        }
    }
}
