import QtQuick
import QtQuick.Controls
import Vostrel.Overlay
import Vostrel.Themes

// The PIN entry: its dots, the wrong-PIN line and, during a lockout, the
// countdown instead of the dots.
Rectangle {
    id: panel

    required property UnlockFlow flow
    property color accent
    property color secondaryText
    property bool lightScheme: false

    implicitWidth: Math.max(content.implicitWidth + 80, 260)
    implicitHeight: content.implicitHeight + 80
    radius: 16
    color: lightScheme ? Qt.rgba(0.97, 0.97, 0.98, 0.94) : Qt.rgba(0.10, 0.11, 0.14, 0.94)
    border.color: lightScheme ? Qt.rgba(0, 0, 0, 0.08) : Qt.rgba(1, 1, 1, 0.08)
    border.width: 1

    Accessible.role: Accessible.Grouping
    Accessible.name: qsTr("PIN entry panel")

    function faded(c, alpha) { return Qt.rgba(c.r, c.g, c.b, c.a * alpha) }

    // A refused PIN shakes the dots: right, left, back, 100 ms a step.
    SequentialAnimation {
        id: shake
        NumberAnimation { target: shift; property: "x"; to: 10; duration: 100; easing.type: Easing.InOutQuad }
        NumberAnimation { target: shift; property: "x"; to: -10; duration: 100; easing.type: Easing.InOutQuad }
        NumberAnimation { target: shift; property: "x"; to: 0; duration: 100; easing.type: Easing.InOutQuad }
    }
    Connections {
        target: panel.flow
        function onPinRejected() { shake.restart() }
        // A shake still running belongs to the entry that was put away.
        function onShowPINFieldChanged() {
            if (!panel.flow.showPINField) {
                shake.stop()
                shift.x = 0
            }
        }
    }

    Column {
        id: content
        anchors.centerIn: parent
        spacing: 20

        // Lockout block
        Column {
            visible: panel.flow.lockedOut
            anchors.horizontalCenter: parent.horizontalCenter
            spacing: 20
            Accessible.role: Accessible.StaticText
            Accessible.name: qsTr("Locked out. Try again in %1 seconds").arg(panel.flow.lockoutRemainingSeconds)

            Symbol {
                anchors.horizontalCenter: parent.horizontalCenter
                name: "lock.trianglebadge.exclamationmark.fill"
                size: 28
                color: Qt.rgba(1, 0.27, 0.23, 0.7)
            }
            Text {
                anchors.horizontalCenter: parent.horizontalCenter
                text: qsTr("Too many attempts")
                font.pixelSize: 14
                font.weight: Font.Medium
                font.family: "monospace"
                color: Qt.rgba(1, 0.27, 0.23, 0.7)
            }
            Text {
                anchors.horizontalCenter: parent.horizontalCenter
                text: qsTr("Try again in %1s").arg(panel.flow.lockoutRemainingSeconds)
                font.pixelSize: 12
                font.family: "monospace"
                color: panel.faded(panel.secondaryText, 0.4)
            }
        }

        // Entry
        Text {
            visible: !panel.flow.lockedOut
            anchors.horizontalCenter: parent.horizontalCenter
            text: qsTr("Enter PIN")
            font.pixelSize: 14
            font.weight: Font.Medium
            font.family: "monospace"
            color: panel.faded(panel.secondaryText, 0.6)
            Accessible.name: qsTr("Enter your %1-digit PIN to unlock").arg(panel.flow.expectedLength)
        }

        Row {
            id: dots
            visible: !panel.flow.lockedOut
            anchors.horizontalCenter: parent.horizontalCenter
            spacing: 16
            transform: Translate { id: shift }
            Accessible.role: Accessible.Indicator
            Accessible.name: qsTr("%1 of %2 digits entered").arg(panel.flow.enteredCount).arg(panel.flow.expectedLength)
            Accessible.description: qsTr("Type numbers to enter your PIN. Press Escape to cancel.")

            Repeater {
                model: panel.flow.expectedLength
                Rectangle {
                    required property int index
                    readonly property bool filled: index < panel.flow.enteredCount
                    width: 14
                    height: 14
                    radius: 7
                    color: filled ? panel.accent : panel.faded(panel.secondaryText, 0.2)
                    Accessible.role: Accessible.StaticText
                    Accessible.name: filled ? qsTr("Digit entered") : qsTr("Empty")
                }
            }
        }

        Text {
            visible: panel.flow.wrongPIN && !panel.flow.lockedOut
            anchors.horizontalCenter: parent.horizontalCenter
            text: qsTr("Wrong PIN (%1/%2)").arg(panel.flow.failedAttempts).arg(panel.flow.maxPINAttempts)
            font.pixelSize: 12
            font.family: "monospace"
            color: Qt.rgba(1, 0.27, 0.23, 0.7)
        }

        AbstractButton {
            visible: panel.flow.fingerprintEnabled && !panel.flow.lockedOut
            anchors.horizontalCenter: parent.horizontalCenter
            onClicked: panel.flow.retryFingerprint()
            Accessible.name: qsTr("Unlock with fingerprint")
            Accessible.description: qsTr("Double-tap to authenticate with your fingerprint")
            contentItem: Column {
                spacing: 4
                Symbol {
                    anchors.horizontalCenter: parent.horizontalCenter
                    name: "touchid"
                    size: 16
                    color: panel.faded(panel.secondaryText, 0.7)
                }
                Text {
                    anchors.horizontalCenter: parent.horizontalCenter
                    // The finger just read: the reader is listening again.
                    text: panel.flow.fingerNotRecognised ? panel.flow.touchCaption
                                                         : qsTr("Unlock with fingerprint")
                    font.pixelSize: 12
                    font.family: "monospace"
                    color: panel.flow.fingerNotRecognised ? Qt.rgba(1, 0.27, 0.23, 0.7)
                                                          : panel.faded(panel.secondaryText, 0.7)
                }
            }
        }
    }
}
