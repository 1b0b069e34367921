import QtQuick
import QtQuick.Controls

// The four idle choices side by side; the chosen one is raised.
Rectangle {
    id: picker

    required property var choices
    required property int current
    required property QtObject colors
    signal chosen(int minutes)

    implicitHeight: 28
    radius: 8
    color: colors.track

    Row {
        anchors.fill: parent
        anchors.margins: 2
        Repeater {
            model: picker.choices
            delegate: AbstractButton {
                id: choice
                required property var modelData
                readonly property bool selected: modelData.minutes === picker.current
                width: (picker.width - 4) / picker.choices.length
                height: parent.height
                hoverEnabled: true
                focusPolicy: Qt.NoFocus
                text: modelData.label
                Accessible.role: Accessible.RadioButton
                Accessible.checked: selected
                onClicked: picker.chosen(modelData.minutes)
                background: Rectangle {
                    radius: 6
                    color: choice.selected ? picker.colors.segment
                         : choice.hovered ? picker.colors.hover : "transparent"
                    border.width: choice.selected ? 1 : 0
                    border.color: picker.colors.segmentBorder
                }
                contentItem: Text {
                    text: choice.text
                    horizontalAlignment: Text.AlignHCenter
                    verticalAlignment: Text.AlignVCenter
                    font.pixelSize: 12
                    font.weight: choice.selected ? Font.DemiBold : Font.Normal
                    color: choice.selected ? picker.colors.text : picker.colors.secondary
                }
            }
        }
    }
}
