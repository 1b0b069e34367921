import QtQuick
import QtQuick.Controls
import Vostrel.Overlay
import Vostrel.Themes

// "Press any key to enter PIN", or the fingerprint button when it is enabled.
Item {
    id: hint

    required property UnlockFlow flow
    property color accent
    property color textColor

    // Nothing typed reaches the lock while another application holds the
    // keyboard; the space stays, so the column does not jump.
    opacity: flow.waitingForInput ? 0 : 1
    enabled: !flow.waitingForInput
    implicitWidth: flow.fingerprintEnabled ? touchButton.implicitWidth : label.implicitWidth
    implicitHeight: (flow.fingerprintEnabled ? touchButton.implicitHeight : label.implicitHeight) + 20

    Text {
        id: label
        visible: !hint.flow.fingerprintEnabled
        anchors.horizontalCenter: parent.horizontalCenter
        text: qsTr("Press any key to enter PIN")
        font.pixelSize: 12
        font.weight: Font.Medium
        color: hint.textColor
    }

    AbstractButton {
        id: touchButton
        visible: hint.flow.fingerprintEnabled
        anchors.horizontalCenter: parent.horizontalCenter
        onClicked: hint.flow.retryFingerprint()
        Accessible.name: qsTr("Touch to unlock")
        contentItem: Column {
            spacing: 6
            Symbol {
                anchors.horizontalCenter: parent.horizontalCenter
                name: "touchid"
                size: 44
                color: Qt.rgba(hint.accent.r, hint.accent.g, hint.accent.b, 0.85)
            }
            Text {
                anchors.horizontalCenter: parent.horizontalCenter
                text: hint.flow.touchCaption
                font.pixelSize: 12
                color: hint.textColor
            }
        }
    }
}
