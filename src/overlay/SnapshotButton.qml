import QtQuick
import QtQuick.Controls
import Vostrel.Overlay
import Vostrel.Themes

// Saves a picture of the lock screen to the Desktop folder.
AbstractButton {
    id: button

    required property LockScreenContent content
    readonly property color ink: Qt.rgba(content.secondaryText.r, content.secondaryText.g,
                                         content.secondaryText.b, content.secondaryText.a * 0.5)

    onClicked: content.saveSnapshot()
    Accessible.name: content.showShareConfirmation ? qsTr("Saved!") : qsTr("Save a picture of the lock screen")
    padding: 0

    background: Rectangle {
        implicitWidth: row.implicitWidth + 24
        implicitHeight: row.implicitHeight + 16
        radius: height / 2
        color: button.content.lightScheme ? Qt.rgba(1, 1, 1, 0.45) : Qt.rgba(0.1, 0.1, 0.12, 0.45)
        border.color: button.content.lightScheme ? Qt.rgba(0, 0, 0, 0.08) : Qt.rgba(1, 1, 1, 0.08)
    }
    contentItem: Item {
        implicitWidth: row.implicitWidth + 24
        implicitHeight: row.implicitHeight + 16
        Row {
            id: row
            anchors.centerIn: parent
            spacing: 6
            Symbol {
                anchors.verticalCenter: parent.verticalCenter
                name: button.content.showShareConfirmation ? "checkmark" : "square.and.arrow.up"
                size: 13
                color: button.ink
            }
            Text {
                anchors.verticalCenter: parent.verticalCenter
                visible: button.content.showShareConfirmation
                text: qsTr("Saved!")
                font.pixelSize: 12
                color: button.ink
            }
        }
    }
}
