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
    readonly property color preview: info.previewColor || "transparent"
    readonly property color accent: info.accentColor || "white"
    // Clear previews (glass, live blur) draw a neutral wash instead, as the
    // Overlay & Themes cards do.
    readonly property bool clearPreview: preview.a === 0
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
                objectName: "preview"
                anchors.fill: parent
                anchors.margins: 2
                radius: 10
                border.width: card.selected ? 0 : 0.5
                border.color: SettingsStyle.separator
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
                               : card.preview
                    }
                }

                Symbol {
                    anchors.centerIn: parent
                    name: card.info.iconName || ""
                    size: 24
                    // The clear themes' white accent vanishes on the light wash.
                    color: card.clearPreview && !SettingsStyle.dark
                           ? SettingsStyle.secondaryText
                           : Qt.rgba(card.accent.r, card.accent.g, card.accent.b, 0.9)
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
