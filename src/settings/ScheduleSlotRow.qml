import QtQuick
import QtQuick.Layouts
import Vostrel.Themes

// One slot of the Schedule page: its time range over its days, and a
// button that removes it. Times and days are not edited here.
Item {
    id: row

    required property string timeRange
    required property string days
    property bool showsSeparator: false
    readonly property string settingsKind: "slotRow"
    signal removeRequested()

    Layout.fillWidth: true
    implicitHeight: Math.max(52, content.implicitHeight + 20)

    Rectangle {
        visible: row.showsSeparator
        anchors.top: parent.top
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.leftMargin: 16
        height: 1
        color: SettingsStyle.separator
    }

    Item {
        id: content
        anchors.fill: parent
        anchors.leftMargin: 16
        anchors.rightMargin: 12
        implicitHeight: texts.implicitHeight

        ColumnLayout {
            id: texts
            anchors.left: parent.left
            anchors.right: removeButton.left
            anchors.rightMargin: 12
            anchors.verticalCenter: parent.verticalCenter
            spacing: 2
            Text {
                objectName: "timeRange"
                text: row.timeRange
                color: SettingsStyle.text
                font.pixelSize: SettingsStyle.bodySize
                font.weight: Font.Medium
            }
            Text {
                objectName: "days"
                text: row.days
                color: SettingsStyle.secondaryText
                font.pixelSize: SettingsStyle.captionSize
            }
        }

        SettingsButton {
            id: removeButton
            objectName: "removeSlotButton"
            anchors.right: parent.right
            anchors.verticalCenter: parent.verticalCenter
            link: true
            destructive: true
            width: 28
            height: 28
            text: ""
            Accessible.name: qsTr("Remove slot")
            onClicked: row.removeRequested()
            Symbol {
                anchors.centerIn: parent
                name: "trash"
                size: 14
                color: SettingsStyle.error
            }
        }
    }
}
