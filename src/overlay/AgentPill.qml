import QtQuick
import Vostrel.Themes

// One running AI agent: a breathing green dot, its symbol and its name.
Rectangle {
    id: pill

    property string text
    property string symbol: "cpu"
    property color accent
    property color textColor
    property real breathe: 0

    implicitWidth: row.implicitWidth + 28
    implicitHeight: row.implicitHeight + 12
    radius: height / 2
    color: Qt.rgba(accent.r, accent.g, accent.b, 0.10)
    border.width: 1
    border.color: Qt.rgba(accent.r, accent.g, accent.b, 0.25)

    Row {
        id: row
        anchors.centerIn: parent
        spacing: 8
        Item {
            width: 16
            height: 16
            anchors.verticalCenter: parent.verticalCenter
            Rectangle {
                anchors.centerIn: parent
                width: 16
                height: 16
                radius: 8
                color: Qt.rgba(0.20, 0.78, 0.35, 0.4)
                scale: 0.7 + 0.3 * pill.breathe
            }
            Rectangle {
                anchors.centerIn: parent
                width: 8
                height: 8
                radius: 4
                color: Qt.rgba(0.20, 0.78, 0.35, 1)
            }
        }
        Symbol {
            anchors.verticalCenter: parent.verticalCenter
            name: pill.symbol
            size: 12
            color: Qt.rgba(pill.accent.r, pill.accent.g, pill.accent.b, 0.9)
        }
        Text {
            anchors.verticalCenter: parent.verticalCenter
            text: pill.text
            textFormat: Text.PlainText
            font.pixelSize: 12
            font.family: "monospace"
            color: pill.textColor
        }
    }
}
