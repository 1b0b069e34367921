import QtQuick
import QtQuick.Layouts

// A row of mutually exclusive segments. `choices` is [{label, value}];
// `value` is shown as selected; picking a segment emits picked(value).
Rectangle {
    id: picker

    property var choices: []
    property var value
    signal picked(var value)

    implicitWidth: 200
    implicitHeight: 28
    radius: 7
    color: SettingsStyle.dark ? "#1f1e25" : "#e6e4ec"
    border.color: SettingsStyle.cardBorder
    border.width: 1

    RowLayout {
        anchors.fill: parent
        anchors.margins: 2
        spacing: 2

        Repeater {
            model: picker.choices

            Rectangle {
                id: segment
                required property var modelData
                required property int index
                readonly property bool selected: picker.value === modelData.value
                objectName: "segment_" + modelData.value
                Layout.fillWidth: true
                Layout.fillHeight: true
                radius: 5
                color: selected ? SettingsStyle.control : "transparent"
                border.color: selected ? SettingsStyle.controlBorder : "transparent"
                border.width: 1

                Accessible.role: Accessible.RadioButton
                Accessible.name: modelData.label
                Accessible.checked: selected
                Accessible.onPressAction: picker.picked(modelData.value)

                Text {
                    anchors.centerIn: parent
                    text: segment.modelData.label
                    color: SettingsStyle.text
                    font.pixelSize: 12
                    font.weight: segment.selected ? Font.DemiBold : Font.Normal
                }
                MouseArea {
                    anchors.fill: parent
                    onClicked: picker.picked(segment.modelData.value)
                }
            }
        }
    }
}
