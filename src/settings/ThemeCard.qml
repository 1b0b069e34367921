import QtQuick
import QtQuick.Layouts
import Vostrel.Themes

// One theme of the Overlay & Themes grid: a preview tile with the theme's
// symbol, and its name below. The selected card is outlined in green.
Item {
    id: card

    required property string theme
    property bool selected: false
    signal chosen()

    readonly property var info: ThemeCatalog.theme(theme)
    readonly property color preview: info.previewColor || "transparent"
    // Clear previews (glass, live blur) draw a neutral wash instead.
    readonly property bool clearPreview: preview.a === 0

    implicitWidth: 120
    implicitHeight: column.implicitHeight

    Accessible.role: Accessible.RadioButton
    Accessible.name: info.displayName || theme
    Accessible.checked: selected
    Accessible.onPressAction: card.chosen()

    ColumnLayout {
        id: column
        anchors.left: parent.left
        anchors.right: parent.right
        spacing: 6

        Rectangle {
            objectName: "preview"
            Layout.fillWidth: true
            Layout.preferredHeight: 88
            radius: 10
            border.width: card.selected ? 2.5 : 0.5
            border.color: card.selected ? SettingsStyle.green : SettingsStyle.separator
            Behavior on border.width { NumberAnimation { duration: 200; easing.type: Easing.InOutQuad } }
            gradient: Gradient {
                GradientStop {
                    position: 0
                    color: card.clearPreview
                           ? (SettingsStyle.dark ? Qt.rgba(1, 1, 1, 0.08) : Qt.rgba(0, 0, 0, 0.04))
                           : card.preview
                }
                GradientStop {
                    position: 1
                    color: card.clearPreview
                           ? (SettingsStyle.dark ? Qt.rgba(1, 1, 1, 0.04) : Qt.rgba(0, 0, 0, 0.02))
                           : Qt.rgba(card.preview.r, card.preview.g, card.preview.b, 0.8)
                }
            }

            Symbol {
                anchors.centerIn: parent
                name: card.info.iconName || ""
                size: 22
                // The clear themes' white accent vanishes on the light wash.
                color: card.clearPreview && !SettingsStyle.dark ? SettingsStyle.secondaryText
                                                                : (card.info.accentColor || "white")
            }
        }
        Text {
            Layout.fillWidth: true
            horizontalAlignment: Text.AlignHCenter
            text: card.info.displayName || card.theme
            color: SettingsStyle.text
            font.pixelSize: 11
            font.weight: card.selected ? Font.DemiBold : Font.Normal
            elide: Text.ElideRight
        }
    }

    MouseArea {
        anchors.fill: parent
        cursorShape: Qt.PointingHandCursor
        onClicked: card.chosen()
    }
}
