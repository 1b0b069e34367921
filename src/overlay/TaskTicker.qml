import QtQuick
import QtQuick.Controls
import Vostrel.Overlay
import Vostrel.Themes

// The running tasks in the bottom bar: up to three agents, a rule, then up to
// four other tasks with their progress.
Column {
    id: ticker

    required property LockScreenContent content
    readonly property color secondary: content.secondaryText
    function tinted(c, alpha) { return Qt.rgba(c.r, c.g, c.b, c.a * alpha) }

    spacing: 6

    Repeater {
        model: ticker.content.tickerAgents
        delegate: Row {
            required property var modelData
            spacing: 6
            Symbol {
                anchors.verticalCenter: parent.verticalCenter
                name: modelData.agentIcon
                size: 11
                color: ticker.tinted(ticker.secondary, 0.8)
            }
            Text {
                text: modelData.displayName
                textFormat: Text.PlainText
                font.pixelSize: 12
                color: ticker.tinted(ticker.secondary, 0.8)
            }
        }
    }

    Item {
        visible: ticker.content.tickerSeparator
        width: 40
        height: 5
        Rectangle {
            anchors.verticalCenter: parent.verticalCenter
            width: 40
            height: 1
            color: ticker.tinted(ticker.secondary, 0.3)
        }
    }

    Repeater {
        model: ticker.content.tickerOthers
        delegate: Row {
            required property var modelData
            spacing: 8
            Rectangle {
                anchors.verticalCenter: parent.verticalCenter
                width: 6
                height: 6
                radius: 3
                color: ticker.content.categoryColor(modelData.category)
            }
            Text {
                anchors.verticalCenter: parent.verticalCenter
                text: modelData.displayName
                textFormat: Text.PlainText
                font.pixelSize: 12
                font.family: "monospace"
                color: ticker.tinted(ticker.secondary, 0.5)
            }
            ProgressBar {
                anchors.verticalCenter: parent.verticalCenter
                visible: modelData.progress !== undefined && modelData.progress > 0
                width: 60
                value: modelData.progress !== undefined ? modelData.progress : 0
                background: Rectangle { implicitHeight: 3; radius: 1.5; color: ticker.tinted(ticker.secondary, 0.15) }
                contentItem: Item {
                    implicitHeight: 3
                    Rectangle {
                        width: parent.width * (modelData.progress !== undefined ? modelData.progress : 0)
                        height: 3
                        radius: 1.5
                        color: ticker.content.categoryColor(modelData.category)
                    }
                }
            }
        }
    }
}
