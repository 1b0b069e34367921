import QtQuick
import QtQuick.Layouts
import Vostrel.Settings
import Vostrel.Themes

// Schedule: the weekly slots during which the screen locks by itself.
// Creating the page's settings object puts the schedule manager to use.
SettingsPageContainer {
    id: page

    property var pageInfo: ({})
    property ScheduleSettings schedule: SettingsObjects.scheduleSettings(page)

    title: qsTr("Schedule")
    subtitle: qsTr("Automatically lock your screen on a schedule.")

    SettingsCard {
        objectName: "slotsCard"
        title: qsTr("Time Slots")

        ColumnLayout {
            objectName: "emptySchedule"
            visible: page.schedule.rows.count === 0
            Layout.fillWidth: true
            Layout.margins: 20
            spacing: 12
            Text {
                Layout.alignment: Qt.AlignHCenter
                text: qsTr("No schedule slots configured")
                color: SettingsStyle.secondaryText
                font.pixelSize: SettingsStyle.bodySize
            }
            SettingsButton {
                objectName: "addFirstSlotButton"
                Layout.alignment: Qt.AlignHCenter
                prominent: true
                text: qsTr("Add Schedule Slot")
                onClicked: page.schedule.addSlot()
            }
        }

        Repeater {
            objectName: "slotRows"
            model: page.schedule.rows
            ScheduleSlotRow {
                required property string slotId
                required property int index
                showsSeparator: index > 0
                onRemoveRequested: page.schedule.removeSlot(slotId)
            }
        }

        ColumnLayout {
            visible: page.schedule.rows.count > 0
            Layout.fillWidth: true
            spacing: 0
            Rectangle {
                Layout.fillWidth: true
                Layout.leftMargin: 16
                implicitHeight: 1
                color: SettingsStyle.separator
            }
            SettingsButton {
                objectName: "addSlotButton"
                Layout.margins: 10
                Layout.leftMargin: 12
                link: true
                leftPadding: 22
                text: qsTr("Add Slot")
                onClicked: page.schedule.addSlot()
                Symbol {
                    anchors.left: parent.left
                    anchors.verticalCenter: parent.verticalCenter
                    name: "plus"
                    size: 13
                    color: SettingsStyle.link
                }
            }
        }
    }
}
