import QtQuick
import QtQuick.Layouts
import Vostrel.Themes

// One theme of the onboarding theme step: its swatch with its symbol, and
// its name; the selected one is outlined.
Item {
    id: card

    required property string theme
    property bool selected: false
    signal chosen()

    readonly property var info: ThemeCatalog.theme(theme)
    implicitWidth: 124
    implicitHeight: column.implicitHeight

    Accessible.role: Accessible.RadioButton
    Accessible.name: info.displayName || theme
    Accessible.checked: selected
    Accessible.onPressAction: card.chosen()

    ColumnLayout {
        id: column
        anchors.horizontalCenter: parent.horizontalCenter
        spacing: 8

        Rectangle {
            Layout.preferredWidth: 124
            Layout.preferredHeight: 84
            Layout.alignment: Qt.AlignHCenter
            radius: 12
            color: "transparent"
            border.width: 2.5
            border.color: card.selected ? SettingsStyle.accent : "transparent"

            Rectangle {
                anchors.fill: parent
                anchors.margins: 2
                radius: 10
                color: card.info.previewColor || "#222"

                Symbol {
                    anchors.centerIn: parent
                    name: card.info.iconName || ""
                    size: 24
                    color: Qt.rgba(card.info.accentColor ? card.info.accentColor.r : 1,
                                   card.info.accentColor ? card.info.accentColor.g : 1,
                                   card.info.accentColor ? card.info.accentColor.b : 1, 0.9)
                }
            }
        }
        Text {
            Layout.alignment: Qt.AlignHCenter
            text: card.info.displayName || card.theme
            color: SettingsStyle.text
            font.pixelSize: 12
            font.weight: card.selected ? Font.DemiBold : Font.Normal
        }
    }

    MouseArea {
        anchors.fill: parent
        cursorShape: Qt.PointingHandCursor
        onClicked: card.chosen()
    }
}
