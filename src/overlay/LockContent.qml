import QtQuick
import QtQuick.Layouts
import Vostrel.Overlay
import Vostrel.Themes
import Vostrel.WebOverlay

// Backdrop, centre column, bottom bar and snapshot button of one theme.
Item {
    id: page

    required property UnlockFlow flow
    required property LockScreenContent content
    required property string screenName

    readonly property color secondary: content.secondaryText
    function tinted(c, alpha) { return Qt.rgba(c.r, c.g, c.b, c.a * alpha) }
    function textColor(spec) { return spec.accent ? tinted(content.accentColor, spec.opacity) : tinted(secondary, spec.opacity) }
    function weight(name) {
        return name === "ultralight" ? Font.ExtraLight : name === "light" ? Font.Light : Font.Normal
    }

    AmbientTimeline {
        id: timeline
        running: page.content.animationsEnabled
        interval: 700
    }

    ThemeBackdrop {
        anchors.fill: parent
        theme: page.content.theme
        fillMode: ThemeManager.backgroundFillMode
        motion: page.content.motionLayerShown
        photoPath: ThemeManager.customPhotoPath
        liveBlurRadius: ThemeManager.liveBlurRadius
        liveBlurShowDesktop: ThemeManager.liveBlurShowDesktop
        screenName: page.screenName
        timeline: timeline
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: page.content.centrePadding
        spacing: 0

        Item { Layout.fillHeight: true }

        Column {
            Layout.alignment: Qt.AlignHCenter
            Layout.maximumWidth: page.width - 2 * page.content.centrePadding
            spacing: page.content.centreSpacing
            // Stands back while the PIN panel is in front of it.
            opacity: page.flow.showPINField ? 0.12 : 1
            Behavior on opacity {
                enabled: page.content.animationsEnabled
                NumberAnimation { duration: 300; easing.type: Easing.OutCubic }
            }

            Repeater {
                model: page.content.centreColumn
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
                        case "agents": return agents
                        default: return webPlaceholder
                        }
                    }
                    property var spec: modelData
                }
            }
        }

        Item { Layout.fillHeight: true }

        // Bottom bar: the task ticker on the left, the clock on the right.
        RowLayout {
            Layout.fillWidth: true
            visible: (page.content.tickerShown && (page.content.tickerAgents.length + page.content.tickerOthers.length) > 0)
                     || page.content.bottomClockShown
            TaskTicker {
                Layout.alignment: Qt.AlignBottom | Qt.AlignLeft
                visible: page.content.tickerShown
                content: page.content
            }
            Item { Layout.fillWidth: true }
            Text {
                Layout.alignment: Qt.AlignBottom | Qt.AlignRight
                visible: page.content.bottomClockShown
                text: page.content.timeText
                font.pixelSize: 48
                font.weight: Font.ExtraLight
                color: page.content.quietText
            }
        }
    }

    SnapshotButton {
        anchors.top: parent.top
        anchors.right: parent.right
        anchors.margins: 24
        content: page.content
    }

    Component {
        id: clockText
        Text {
            text: page.content.timeText
            font.pixelSize: spec.size
            font.weight: page.weight(spec.weight)
            color: page.textColor(spec)
        }
    }
    Component {
        id: dateText
        Text {
            text: page.content.dateText
            font.pixelSize: spec.size
            color: page.textColor(spec)
        }
    }
    Component {
        id: rule
        Rectangle { width: 60; height: 1; color: page.tinted(page.secondary, spec.opacity) }
    }
    Component {
        id: symbol
        Symbol { name: spec.name; size: spec.size; color: page.textColor(spec) }
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
                border.color: page.tinted(page.content.accentColor, 0.15)
            }
            Symbol {
                anchors.centerIn: parent
                name: "flask"
                size: spec.size
                color: page.textColor(spec)
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
                color: page.tinted(page.content.accentColor, 0.10 + 0.08 * timeline.particlePhase)
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
                size: spec.size
                color: page.textColor(spec)
            }
        }
    }
    Component {
        id: headline
        Text {
            width: Math.min(implicitWidth, page.width - 2 * page.content.centrePadding)
            text: ThemeManager.customHeadline
            textFormat: Text.PlainText
            wrapMode: Text.Wrap
            maximumLineCount: 3
            elide: Text.ElideRight
            horizontalAlignment: Text.AlignHCenter
            font.pixelSize: spec.size
            font.weight: page.weight(spec.weight)
            color: page.textColor(spec)
        }
    }
    Component {
        id: subtext
        Text {
            width: Math.min(implicitWidth, page.width - 2 * page.content.centrePadding)
            text: ThemeManager.customSubtext
            textFormat: Text.PlainText
            wrapMode: Text.Wrap
            maximumLineCount: 3
            elide: Text.ElideRight
            horizontalAlignment: Text.AlignHCenter
            font.pixelSize: spec.size
            color: page.textColor(spec)
        }
    }
    Component {
        id: hint
        HintRow {
            flow: page.flow
            accent: page.content.accentColor
            textColor: page.tinted(page.content.quietText, 0.7)
        }
    }
    Component {
        id: agents
        Column {
            spacing: 8
            topPadding: 12 - page.content.centreSpacing > 0 ? 12 - page.content.centreSpacing : 0
            Repeater {
                model: page.content.agentPills
                delegate: AgentPill {
                    required property var modelData
                    task: modelData
                    accent: page.content.accentColor
                    textColor: page.tinted(page.secondary, 0.9)
                    breathe: timeline.breathe
                }
            }
        }
    }
    Component {
        id: webPlaceholder
        // The web themes' page fills the column's whole area; the hint stays
        // at the bottom so the PIN can always be typed.
        Item {
            width: page.width - 2 * page.content.centrePadding
            height: page.height - 2 * page.content.centrePadding
            WebLockScreen {
                x: -page.content.centrePadding
                y: -page.content.centrePadding
                width: page.width
                height: page.height
                theme: page.content.theme
                htmlPath: ThemeManager.customHTMLPath
                websiteURL: ThemeManager.customWebsiteURL
                pinVerifier: PINManager
                textColor: page.secondary
                onUnlocked: page.flow.unlockRequested()
            }
            HintRow {
                anchors.horizontalCenter: parent.horizontalCenter
                anchors.bottom: parent.bottom
                anchors.bottomMargin: 32 - page.content.centrePadding > 0 ? 32 - page.content.centrePadding : 0
                flow: page.flow
                accent: page.content.accentColor
                textColor: page.tinted(page.content.quietText, 0.7)
            }
        }
    }

    Component.onCompleted: flow.appeared()
}
