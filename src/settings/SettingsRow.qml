import QtQuick
import QtQuick.Layouts
import Vostrel.Themes

// One line of a card: a tinted symbol, a title with an optional subtitle,
// and the control (accessory) at the trailing edge. Items declared inside the
// row become its accessory.
Item {
    id: row

    property string icon
    property color iconColor: SettingsStyle.accent
    property string title
    property string subtitle
    property color subtitleColor: SettingsStyle.secondaryText
    default property alias accessory: accessoryRow.data
    // Drawn above every row but the first of its card.
    property bool showsSeparator: y > 0
    readonly property string settingsKind: "row"

    Layout.fillWidth: true
    implicitHeight: Math.max(52, content.implicitHeight + 20)

    Rectangle {
        visible: row.showsSeparator
        anchors.top: parent.top
        anchors.left: parent.left
        anchors.leftMargin: row.icon.length > 0 ? 56 : 16
        anchors.right: parent.right
        height: 1
        color: SettingsStyle.separator
    }

    RowLayout {
        id: content
        anchors.fill: parent
        anchors.leftMargin: 16
        anchors.rightMargin: 16
        spacing: 12

        Rectangle {
            visible: row.icon.length > 0
            Layout.alignment: Qt.AlignVCenter
            implicitWidth: 28
            implicitHeight: 28
            radius: 7
            color: row.iconColor

            Symbol {
                anchors.centerIn: parent
                name: row.icon
                size: 16
                color: "white"
            }
        }

        ColumnLayout {
            Layout.fillWidth: true
            Layout.alignment: Qt.AlignVCenter
            spacing: 2

            Text {
                Layout.fillWidth: true
                text: row.title
                color: SettingsStyle.text
                font.pixelSize: SettingsStyle.bodySize
                font.weight: Font.Medium
                elide: Text.ElideRight
            }
            Text {
                Layout.fillWidth: true
                visible: row.subtitle.length > 0
                text: row.subtitle
                color: row.subtitleColor
                font.pixelSize: SettingsStyle.captionSize
                wrapMode: Text.Wrap
                maximumLineCount: 3
                elide: Text.ElideRight
            }
        }

        RowLayout {
            id: accessoryRow
            Layout.alignment: Qt.AlignVCenter | Qt.AlignRight
            spacing: 8
        }
    }
}
