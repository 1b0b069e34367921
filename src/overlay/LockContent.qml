import QtQuick
import QtQuick.Layouts
import Vostrel.Overlay
import Vostrel.Themes
import Vostrel.WebOverlay

// Backdrop, centre column, bottom bar and snapshot button of one theme.
Item {
    id: root

    required property UnlockFlow flow
    required property LockScreenContent content
    required property string screenName

    readonly property color secondary: content.secondaryText
    function tinted(c, alpha) { return Qt.rgba(c.r, c.g, c.b, c.a * alpha) }
    function textColor(cell) { return cell.accent ? tinted(content.accentColor, cell.opacity) : tinted(secondary, cell.opacity) }
    function weight(name) {
        return name === "ultralight" ? Font.ExtraLight : name === "light" ? Font.Light : Font.Normal
    }

    AmbientTimeline {
        id: timeline
        running: root.content.animationsEnabled
        interval: 700
    }

    ThemeBackdrop {
        anchors.fill: parent
        theme: root.content.theme
        fillMode: ThemeManager.backgroundFillMode
        motion: root.content.motionLayerShown
        photoPath: ThemeManager.customPhotoPath
        liveBlurRadius: ThemeManager.liveBlurRadius
        liveBlurShowDesktop: ThemeManager.liveBlurShowDesktop
        screenName: root.screenName
        timeline: timeline
    }

    // The web themes: the page over the backdrop, the hint at the bottom.
    // The page lives only while the lock is up: between locks it would run
    // its scripts and hold its memory for nothing.
    Loader {
        anchors.fill: parent
        active: root.content.showsWebPage && root.content.active
        sourceComponent: Item {
            WebLockScreen {
                anchors.fill: parent
                theme: root.content.theme
                htmlPath: ThemeManager.customHTMLPath
                websiteURL: ThemeManager.customWebsiteURL
                pinVerifier: root.flow.pinAuthority
                textColor: root.secondary
                onUnlocked: root.flow.unlockRequested()
            }
            HintRow {
                anchors.horizontalCenter: parent.horizontalCenter
                anchors.bottom: parent.bottom
                anchors.bottomMargin: 32
                flow: root.flow
                accent: root.content.accentColor
                textColor: root.tinted(root.content.quietText, 0.7)
            }
        }
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: root.content.centrePadding
        spacing: 0

        Item { Layout.fillHeight: true }

        Column {
            Layout.alignment: Qt.AlignHCenter
            Layout.maximumWidth: root.width - 2 * root.content.centrePadding
            spacing: root.content.centreSpacing
            // Stands back while the PIN panel or the wait for the keyboard is
            // in front of it.
            opacity: root.flow.showPINField || root.flow.waitingForInput ? 0.12 : 1
            Behavior on opacity {
                enabled: root.content.animationsEnabled
                NumberAnimation { duration: 300; easing.type: Easing.OutCubic }
            }

            Repeater {
                model: root.content.centreColumn
                delegate: Loader {
                    required property var modelData
                    anchors.horizontalCenter: parent ? parent.horizontalCenter : undefined
                    sourceComponent: {
                        switch (modelData.kind) {
                        case "clock": return clockText
                        case "date": return dateText
                        case "rule": return rule
                        case "symbol": return symbol
                        case "flask": return flask
                        case "glassLock": return glassLock
                        case "headline": return headline
                        case "subtext": return subtext
                        case "hint": return hint
                        default: return agents
                        }
                    }
                    property var cell: modelData
                }
            }
        }

        Item { Layout.fillHeight: true }

        // Bottom bar: the task ticker on the left, the clock on the right.
        RowLayout {
            Layout.fillWidth: true
            visible: (root.content.tickerShown && root.content.tickerHasRows)
                     || root.content.bottomClockShown
            TaskTicker {
                Layout.alignment: Qt.AlignBottom | Qt.AlignLeft
                visible: root.content.tickerShown
                content: root.content
            }
            Item { Layout.fillWidth: true }
            Text {
                Layout.alignment: Qt.AlignBottom | Qt.AlignRight
                visible: root.content.bottomClockShown
                text: root.content.timeText
                font.pixelSize: 48
                font.weight: Font.ExtraLight
                color: root.content.quietText
            }
        }
    }

    SnapshotButton {
        anchors.top: parent.top
        anchors.right: parent.right
        anchors.margins: 24
        content: root.content
    }

    Component {
        id: clockText
        Text {
            text: root.content.timeText
            font.pixelSize: cell.size
            font.weight: root.weight(cell.weight)
            color: root.textColor(cell)
        }
    }
    Component {
        id: dateText
        Text {
            text: root.content.dateText
            font.pixelSize: cell.size
            color: root.textColor(cell)
        }
    }
    Component {
        id: rule
        Rectangle { width: 60; height: 1; color: root.tinted(root.secondary, cell.opacity) }
    }
    Component {
        id: symbol
        Symbol { name: cell.name; size: cell.size; color: root.textColor(cell) }
    }
    Component {
        id: flask
        Item {
            width: 120
            height: 120
            Rectangle {
                anchors.fill: parent
                radius: width / 2
                color: "transparent"
                border.width: 1
                border.color: root.tinted(root.content.accentColor, 0.15)
            }
            Symbol {
                anchors.centerIn: parent
                name: "flask"
                size: cell.size
                color: root.textColor(cell)
                rotation: timeline.flaskRotation
            }
        }
    }
    Component {
        id: glassLock
        Item {
            width: 96
            height: 96
            Rectangle {
                anchors.centerIn: parent
                width: 96 * (0.9 + 0.1 * timeline.breathe)
                height: width
                radius: width / 2
                color: root.tinted(root.content.accentColor, 0.10 + 0.08 * timeline.particlePhase)
            }
            Rectangle {
                anchors.centerIn: parent
                width: 72
                height: 72
                radius: 36
                color: Qt.rgba(1, 1, 1, 0.08)
                border.color: Qt.rgba(1, 1, 1, 0.18)
            }
            Symbol {
                anchors.centerIn: parent
                name: "lock.fill"
                size: cell.size
                color: root.textColor(cell)
            }
        }
    }
    Component {
        id: headline
        Text {
            width: Math.min(implicitWidth, root.width - 2 * root.content.centrePadding)
            text: ThemeManager.customHeadline
            textFormat: Text.PlainText
            wrapMode: Text.Wrap
            maximumLineCount: 3
            elide: Text.ElideRight
            horizontalAlignment: Text.AlignHCenter
            font.pixelSize: cell.size
            font.weight: root.weight(cell.weight)
            color: root.textColor(cell)
        }
    }
    Component {
        id: subtext
        Text {
            width: Math.min(implicitWidth, root.width - 2 * root.content.centrePadding)
            text: ThemeManager.customSubtext
            textFormat: Text.PlainText
            wrapMode: Text.Wrap
            maximumLineCount: 3
            elide: Text.ElideRight
            horizontalAlignment: Text.AlignHCenter
            font.pixelSize: cell.size
            color: root.textColor(cell)
        }
    }
    Component {
        id: hint
        HintRow {
            flow: root.flow
            accent: root.content.accentColor
            textColor: root.tinted(root.content.quietText, 0.7)
        }
    }
    Component {
        id: agents
        Column {
            spacing: 8
            topPadding: 12 - root.content.centreSpacing > 0 ? 12 - root.content.centreSpacing : 0
            Repeater {
                model: root.content.agentPills
                delegate: AgentPill {
                    required property string displayName
                    required property string agentIcon
                    text: displayName
                    symbol: agentIcon
                    accent: root.content.accentColor
                    textColor: root.tinted(root.secondary, 0.9)
                    breathe: timeline.breathe
                }
            }
        }
    }
}
