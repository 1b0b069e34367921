import QtQuick
import QtQuick.Controls

// One full-width row of the panel: symbol, title and, where it has one, a
// hint at the trailing edge.
AbstractButton {
    id: row

    property string symbol
    property string hint
    property string toolTipText
    property bool available: true
    required property QtObject colors

    implicitHeight: 30
    hoverEnabled: true
    focusPolicy: Qt.NoFocus
    Accessible.name: text
    Accessible.description: toolTipText

    background: Rectangle {
        radius: 7
        color: row.available && row.down ? row.colors.pressed
             : row.available && row.hovered ? row.colors.hover : "transparent"
    }

    contentItem: Item {
        MenuSymbol {
            id: glyph
            anchors.left: parent.left
            anchors.leftMargin: 10
            anchors.verticalCenter: parent.verticalCenter
            size: 16
            name: row.symbol
            color: row.available ? row.colors.symbol : row.colors.disabled
        }
        Text {
            anchors.left: glyph.right
            anchors.leftMargin: 10
            anchors.right: hintLabel.left
            anchors.rightMargin: 8
            anchors.verticalCenter: parent.verticalCenter
            text: row.text
            elide: Text.ElideRight
            font.pixelSize: 13
            color: row.available ? row.colors.text : row.colors.disabled
        }
        Text {
            id: hintLabel
            anchors.right: parent.right
            anchors.rightMargin: 10
            anchors.verticalCenter: parent.verticalCenter
            text: row.hint
            font.pixelSize: 11
            color: row.colors.tertiary
        }
    }

    ToolTip.visible: hovered && toolTipText.length > 0
    ToolTip.delay: 400
    ToolTip.text: toolTipText
}
