import QtQuick
import QtQuick.Layouts
import Vostrel.Settings
import Vostrel.Themes

// Integrations: Slack status, cloud sync of the look, the calendar and
// Do Not Disturb locks, and the commands scripts can run.
SettingsPageContainer {
    id: page

    property var pageInfo: ({})
    property IntegrationsSettings integrations: SettingsObjects.integrationsSettings(page)
    property CalendarSourceList calendarSources: SettingsObjects.calendarSources(page)

    title: qsTr("Integrations")
    subtitle: qsTr("Connect Vostrel to Slack, Cloud Sync, and your scripts.")

    component Labelled: ColumnLayout {
        property alias label: caption.text
        Layout.fillWidth: true
        spacing: 4
        Text {
            id: caption
            color: SettingsStyle.secondaryText
            font.pixelSize: SettingsStyle.captionSize
            font.weight: Font.Medium
        }
    }

    component Notice: RowLayout {
        property alias text: noticeText.text
        property color tint: SettingsStyle.error
        property string symbol: "exclamationmark.triangle.fill"
        Layout.fillWidth: true
        Layout.leftMargin: 56
        Layout.rightMargin: 16
        Layout.bottomMargin: 12
        spacing: 6
        Symbol { name: parent.symbol; size: 12; color: parent.tint }
        Text {
            id: noticeText
            Layout.fillWidth: true
            color: parent.tint
            font.pixelSize: 12
            wrapMode: Text.Wrap
        }
    }

    SettingsCard {
        objectName: "slackCard"
        title: qsTr("Slack Status Sync")
        SettingsRow {
            icon: "bubble.left.fill"
            iconColor: SettingsStyle.purple
            title: qsTr("Auto-set Slack status")
            subtitle: qsTr("Set \"Away\" when overlay is active")
            SettingsSwitch {
                objectName: "slackSwitch"
                value: page.integrations.slackSyncEnabled
                onToggledTo: on => page.integrations.slackSyncEnabled = on
            }
        }
        GridLayout {
            objectName: "slackFields"
            visible: page.integrations.slackSyncEnabled
            Layout.fillWidth: true
            Layout.leftMargin: 56
            Layout.rightMargin: 16
            Layout.bottomMargin: 12
            columns: 2
            columnSpacing: 12
            rowSpacing: 8
            Labelled {
                Layout.columnSpan: 2
                label: qsTr("Slack Bot Token")
                SettingsTextField {
                    objectName: "slackTokenField"
                    Layout.fillWidth: true
                    masked: true
                    placeholderText: "xoxb-..."
                    text: page.integrations.slackToken
                    onTextEdited: page.integrations.slackToken = text
                }
            }
            Labelled {
                label: qsTr("Status text")
                SettingsTextField {
                    objectName: "slackStatusField"
                    Layout.fillWidth: true
                    placeholderText: "Tambering..."
                    text: page.integrations.slackStatusText
                    onTextEdited: page.integrations.slackStatusText = text
                }
            }
            Labelled {
                Layout.fillWidth: false
                label: qsTr("Emoji")
                SettingsTextField {
                    objectName: "slackEmojiField"
                    Layout.preferredWidth: 120
                    placeholderText: ":no_entry:"
                    text: page.integrations.slackStatusEmoji
                    onTextEdited: page.integrations.slackStatusEmoji = text
                }
            }
        }
        Notice {
            objectName: "slackError"
            visible: page.integrations.slackSyncEnabled && text.length > 0
            text: page.integrations.slackError
            tint: SettingsStyle.warning
        }
    }

    SettingsCard {
        objectName: "cloudCard"
        title: qsTr("Cloud Sync")
        SettingsRow {
            icon: "icloud.fill"
            iconColor: SettingsStyle.blue
            title: qsTr("Sync themes across computers")
            subtitle: qsTr("Theme, headline, and display preferences")
            SettingsSwitch {
                objectName: "cloudSwitch"
                value: page.integrations.cloudSyncEnabled
                onToggledTo: on => page.integrations.cloudSyncEnabled = on
            }
        }
        SettingsRow {
            icon: "arrow.triangle.2.circlepath"
            iconColor: SettingsStyle.teal
            title: qsTr("Sync folder")
            subtitle: qsTr("A folder your own sync service keeps in step")
            SettingsTextField {
                objectName: "cloudFolderField"
                Layout.preferredWidth: 260
                placeholderText: qsTr("~/Sync/Vostrel")
                text: page.integrations.cloudSyncFolder
                onEditingFinished: page.integrations.cloudSyncFolder = text
            }
        }
        RowLayout {
            objectName: "syncNowRow"
            visible: page.integrations.cloudSyncEnabled
            Layout.fillWidth: true
            Layout.leftMargin: 56
            Layout.rightMargin: 16
            Layout.bottomMargin: 12
            spacing: 10
            SettingsButton {
                objectName: "syncNowButton"
                text: qsTr("Sync Now")
                onClicked: page.integrations.syncNow()
            }
            Symbol {
                visible: page.integrations.syncError.length > 0
                name: "exclamationmark.triangle.fill"
                size: 12
                color: SettingsStyle.error
            }
            Text {
                objectName: "syncStatus"
                Layout.fillWidth: true
                text: page.integrations.syncError.length > 0 ? page.integrations.syncError
                                                             : page.integrations.syncMessage
                color: page.integrations.syncError.length > 0 ? SettingsStyle.error
                                                              : SettingsStyle.success
                font.pixelSize: 12
                wrapMode: Text.Wrap
            }
        }
    }

    SettingsCard {
        objectName: "calendarCard"
        title: qsTr("Calendar Auto-Tamber")
        SettingsRow {
            icon: "calendar.badge.clock"
            iconColor: SettingsStyle.red
            title: qsTr("Auto-lock during events")
            subtitle: qsTr("Lock when Focus/Meeting/Deep Work events are active")
            SettingsSwitch {
                objectName: "calendarSwitch"
                value: page.integrations.calendarEnabled
                onToggledTo: on => page.integrations.calendarEnabled = on
            }
        }
        Notice {
            objectName: "calendarAccessWarning"
            visible: page.integrations.isCalendarAccessMissing
            text: qsTr("No calendar can be read yet. Add an iCalendar file or address below.")
        }
        ColumnLayout {
            objectName: "calendarSources"
            Layout.fillWidth: true
            Layout.leftMargin: 56
            Layout.rightMargin: 16
            Layout.bottomMargin: 12
            spacing: 6
            Text {
                text: qsTr("Calendars (iCalendar files or addresses)")
                color: SettingsStyle.secondaryText
                font.pixelSize: SettingsStyle.captionSize
                font.weight: Font.Medium
            }
            Repeater {
                model: page.calendarSources.sources
                RowLayout {
                    required property string modelData
                    required property int index
                    Layout.fillWidth: true
                    spacing: 8
                    Text {
                        Layout.fillWidth: true
                        text: modelData
                        color: SettingsStyle.text
                        font.pixelSize: 12
                        elide: Text.ElideMiddle
                    }
                    SettingsButton {
                        objectName: "removeSource_" + index
                        link: true
                        destructive: true
                        text: qsTr("Remove")
                        onClicked: page.calendarSources.remove(index)
                    }
                }
            }
            RowLayout {
                Layout.fillWidth: true
                spacing: 8
                SettingsTextField {
                    id: sourceField
                    objectName: "calendarSourceField"
                    Layout.fillWidth: true
                    placeholderText: qsTr("/home/me/work.ics or https://…/calendar.ics")
                    onAccepted: if (page.calendarSources.add(text)) clear()
                }
                SettingsButton {
                    objectName: "addSourceButton"
                    text: qsTr("Add")
                    enabled: sourceField.text.trim().length > 0
                    onClicked: if (page.calendarSources.add(sourceField.text)) sourceField.clear()
                }
            }
            Text {
                objectName: "calendarSourceError"
                visible: text.length > 0
                Layout.fillWidth: true
                text: page.calendarSources.error
                color: SettingsStyle.error
                font.pixelSize: 12
                wrapMode: Text.Wrap
                maximumLineCount: 3
                elide: Text.ElideRight
            }
        }
    }

    SettingsCard {
        objectName: "focusCard"
        title: qsTr("Focus Mode")
        SettingsRow {
            icon: "moon.fill"
            iconColor: SettingsStyle.indigo
            title: qsTr("Auto-lock during Focus")
            subtitle: qsTr("Lock when the desktop's Do Not Disturb is active")
            SettingsSwitch {
                objectName: "focusSwitch"
                value: page.integrations.focusEnabled
                onToggledTo: on => page.integrations.focusEnabled = on
            }
        }
    }

    SettingsCard {
        objectName: "automationCard"
        title: qsTr("Automation")
        SettingsRow {
            icon: "command.square.fill"
            iconColor: SettingsStyle.grey
            title: qsTr("Command line")
            subtitle: qsTr("Use Vostrel actions in scripts, key bindings & automations")
        }
        ColumnLayout {
            Layout.fillWidth: true
            Layout.leftMargin: 56
            Layout.rightMargin: 16
            Layout.bottomMargin: 12
            spacing: 4
            Repeater {
                model: page.integrations.automationCommands
                Text {
                    required property string modelData
                    objectName: "command"
                    text: modelData
                    color: SettingsStyle.text
                    font.family: "monospace"
                    font.pixelSize: 12
                    textFormat: Text.PlainText
                }
            }
        }
    }
}
