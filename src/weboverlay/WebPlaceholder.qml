import QtQuick
import Vostrel.Themes

// Shown instead of a page when the theme has nothing to show: its symbol, a
// title and a faint hint where to set the file or address.
Column {
    id: placeholder

    property string symbol
    property string title
    property string hint
    property color textColor: Qt.rgba(1, 1, 1, 0.95)

    spacing: 16

    Symbol {
        anchors.horizontalCenter: parent.horizontalCenter
        name: placeholder.symbol
        size: 48
        color: Qt.rgba(placeholder.textColor.r, placeholder.textColor.g, placeholder.textColor.b,
                       placeholder.textColor.a * 0.4)
    }
    Text {
        anchors.horizontalCenter: parent.horizontalCenter
        text: placeholder.title
        font.pixelSize: 20
        font.weight: Font.Medium
        color: Qt.rgba(placeholder.textColor.r, placeholder.textColor.g, placeholder.textColor.b,
                       placeholder.textColor.a * 0.8)
    }
    Text {
        anchors.horizontalCenter: parent.horizontalCenter
        text: placeholder.hint
        font.pixelSize: 13
        color: placeholder.textColor
        opacity: 0.25
    }
}
