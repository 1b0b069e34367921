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
            id: agentRow
            required property string displayName
            required property string agentIcon
            spacing: 6
            Symbol {
                anchors.verticalCenter: parent.verticalCenter
                name: agentRow.agentIcon
                size: 11
                color: ticker.tinted(ticker.secondary, 0.8)
            }
            Text {
                text: agentRow.displayName
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
            id: otherRow
            required property string displayName
            required property int category
            // A number from 0 to 1, or undefined when the task shows none.
            required property var progress
            readonly property color categoryColor: ticker.content.categoryColor(category)
            readonly property real shownProgress: progress !== undefined ? progress : 0
            spacing: 8
            Rectangle {
                anchors.verticalCenter: parent.verticalCenter
                width: 6
                height: 6
                radius: 3
                color: otherRow.categoryColor
            }
            Text {
                anchors.verticalCenter: parent.verticalCenter
                text: otherRow.displayName
                textFormat: Text.PlainText
                font.pixelSize: 12
                font.family: "monospace"
                color: ticker.tinted(ticker.secondary, 0.5)
            }
            ProgressBar {
                anchors.verticalCenter: parent.verticalCenter
                visible: otherRow.shownProgress > 0
                width: 60
                value: otherRow.shownProgress
                background: Rectangle { implicitHeight: 3; radius: 1.5; color: ticker.tinted(ticker.secondary, 0.15) }
                contentItem: Item {
                    implicitHeight: 3
                    Rectangle {
                        width: parent.width * otherRow.shownProgress
                        height: 3
                        radius: 1.5
                        color: otherRow.categoryColor
                    }
                }
            }
        }
    }
}
