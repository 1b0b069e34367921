import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import QtQuick.Window
import Vostrel.Tray

// The tray's panel. Every text, state and action comes from the model; this
// file lays them out and follows the desktop's light or dark palette.
Rectangle {
    id: panel

    required property TrayModel menu

    SystemPalette { id: system; colorGroup: SystemPalette.Active }

    QtObject {
        id: theme
        readonly property bool dark: system.window.hslLightness < 0.5
        readonly property color background: dark ? "#24222b" : "#f7f6fa"
        // Opaque: without a compositor the edge would show any transparency black.
        readonly property color border: dark ? "#403c4a" : "#d0cdd8"
        readonly property color text: dark ? "#f1eff6" : "#1d1b22"
        readonly property color secondary: dark ? Qt.rgba(1, 1, 1, 0.66) : Qt.rgba(0, 0, 0, 0.6)
        readonly property color tertiary: dark ? Qt.rgba(1, 1, 1, 0.42) : Qt.rgba(0, 0, 0, 0.4)
        readonly property color disabled: dark ? Qt.rgba(1, 1, 1, 0.32) : Qt.rgba(0, 0, 0, 0.3)
        readonly property color symbol: dark ? "#c9bdf2" : "#4a3a86"
        readonly property color wordmark: dark ? "#d8cff7" : Qt.rgba(0.1, 0.075, 0.2, 1)
        readonly property color divider: dark ? Qt.rgba(1, 1, 1, 0.09) : Qt.rgba(0, 0, 0, 0.08)
        readonly property color hover: dark ? Qt.rgba(1, 1, 1, 0.08) : Qt.rgba(0.29, 0.23, 0.53, 0.09)
        readonly property color pressed: dark ? Qt.rgba(1, 1, 1, 0.14) : Qt.rgba(0.29, 0.23, 0.53, 0.16)
        readonly property color track: dark ? Qt.rgba(1, 1, 1, 0.07) : Qt.rgba(0, 0, 0, 0.06)
        readonly property color segment: dark ? "#3b3746" : "#ffffff"
        readonly property color segmentBorder: dark ? Qt.rgba(1, 1, 1, 0.1) : Qt.rgba(0, 0, 0, 0.1)
        readonly property color locked: "#d9544d"
        readonly property color awake: "#2faa6b"
        readonly property color idle: dark ? Qt.rgba(1, 1, 1, 0.35) : Qt.rgba(0, 0, 0, 0.3)
    }

    color: theme.background
    radius: 12
    // The window's own corners, cut by its shape, take the edge colour.
    Binding {
        target: panel.Window.window
        property: "color"
        value: theme.border
    }
    border.width: 1
    border.color: theme.border

    component Divider: Rectangle {
        Layout.fillWidth: true
        Layout.leftMargin: 10
        Layout.rightMargin: 10
        Layout.topMargin: 4
        Layout.bottomMargin: 4
        implicitHeight: 1
        color: theme.divider
    }

    component Caption: Text {
        Layout.leftMargin: 10
        Layout.topMargin: 2
        Layout.bottomMargin: 2
        font.pixelSize: 11
        font.weight: Font.DemiBold
        color: theme.tertiary
    }

    // One row, under its section's divider and caption when it opens one.
    component SectionRow: ColumnLayout {
        id: entry
        required property int action
        required property string title
        required property string symbol
        required property string hint
        required property string toolTip
        required property bool available
        required property bool startsSection
        required property string caption
        Layout.fillWidth: true
        spacing: 0
        Divider { visible: entry.startsSection }
        Caption { visible: entry.caption.length > 0; text: entry.caption }
        Loader {
            readonly property var row: entry
            Layout.fillWidth: true
            sourceComponent: entry.action === TrayModel.AutoLock ? autoLockRow : plainRow
        }
    }

    Component {
        id: plainRow
        PanelRow {
            readonly property var row: parent.row
            colors: theme
            text: row.title
            symbol: row.symbol
            // The countdown follows the manager every second without
            // rebuilding the rows.
            hint: row.action === TrayModel.StopKeepAwake ? panel.menu.remainingTimeText : row.hint
            toolTipText: row.toolTip
            available: row.available
            onClicked: if (available) panel.menu.trigger(row.action)
        }
    }

    Component {
        id: autoLockRow
        ColumnLayout {
            readonly property var row: parent.row
            spacing: 4
            Rectangle {
                Layout.fillWidth: true
                Layout.leftMargin: 10
                Layout.rightMargin: 10
                Layout.topMargin: 3
                Layout.bottomMargin: 1
                implicitHeight: 1
                color: theme.divider
            }
            PanelRow {
                Layout.fillWidth: true
                colors: theme
                text: parent.row.title
                symbol: parent.row.symbol
                enabled: false
                implicitHeight: 26
            }
            AutoLockPicker {
                Layout.fillWidth: true
                Layout.leftMargin: 10
                Layout.rightMargin: 10
                Layout.bottomMargin: 2
                colors: theme
                choices: panel.menu.autoLockChoices
                current: panel.menu.autoLockChoice
                onChosen: minutes => panel.menu.chooseAutoLock(minutes)
            }
        }
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 6
        anchors.topMargin: 10
        spacing: 0

        // Header: the wordmark over the state.
        ColumnLayout {
            Layout.fillWidth: true
            Layout.leftMargin: 10
            Layout.rightMargin: 10
            Layout.bottomMargin: 4
            spacing: 3
            Text {
                text: "VOSTREL"
                font.pixelSize: 11
                font.weight: Font.Black
                font.letterSpacing: 0.6
                color: theme.wordmark
            }
            RowLayout {
                spacing: 6
                Rectangle {
                    implicitWidth: 7
                    implicitHeight: 7
                    radius: 3.5
                    color: panel.menu.overlayActive ? theme.locked
                         : panel.menu.keepAwakeActive ? theme.awake : theme.idle
                }
                Text {
                    readonly property bool refused: panel.menu.keepAwakeRefusal.length > 0
                    Layout.fillWidth: true
                    // One line: the panel has no height to spare; the whole
                    // reason is in the tool tip.
                    text: refused ? panel.menu.keepAwakeRefusal : panel.menu.statusLine
                    elide: Text.ElideRight
                    font.pixelSize: refused ? 11 : 12
                    color: refused ? theme.locked : theme.secondary
                    Accessible.name: panel.menu.statusText
                    HoverHandler { id: statusHover }
                    ToolTip.visible: refused && statusHover.hovered && truncated
                    ToolTip.delay: 400
                    ToolTip.text: text
                }
            }
        }

        Repeater {
            model: panel.menu.topRows
            delegate: SectionRow {}
        }

        Item { Layout.fillHeight: true }

        Repeater {
            model: panel.menu.footerRows
            delegate: SectionRow {}
        }
    }
}
