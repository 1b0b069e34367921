import QtQuick
import QtQuick.Layouts

// A titled group of rows. Rows (or any items) placed inside stack top to
// bottom; SettingsRow draws its own separator from the second row on.
ColumnLayout {
    id: card

    property string title
    default property alias content: rows.data
    readonly property string settingsKind: "card"

    Layout.fillWidth: true
    spacing: 6

    Text {
        visible: card.title.length > 0
        text: card.title.toUpperCase()
        color: SettingsStyle.secondaryText
        font.pixelSize: SettingsStyle.captionSize
        font.weight: Font.DemiBold
        font.letterSpacing: 0.6
        leftPadding: 4
        Accessible.role: Accessible.Heading
    }

    Rectangle {
        Layout.fillWidth: true
        implicitHeight: rows.implicitHeight
        radius: SettingsStyle.cardRadius
        color: SettingsStyle.card
        border.color: SettingsStyle.cardBorder
        border.width: 1

        ColumnLayout {
            id: rows
            anchors.left: parent.left
            anchors.right: parent.right
            spacing: 0
        }
    }
}
