import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Vostrel.Settings
import Vostrel.Themes

// Overlay & Themes: the theme, its backdrop, the lock-screen texts, live
// blur, what the lock screen shows, the website overlay and share links.
// Every control writes through the theme manager.
SettingsPageContainer {
    id: page

    property var pageInfo: ({})
    property OverlaySettings overlay: SettingsObjects.overlaySettings(page)
    property ThemeSharing sharing: SettingsObjects.themeSharing(page)

    title: qsTr("Overlay & Themes")
    subtitle: qsTr("Customize your lock screen appearance.")

    SettingsCard {
        objectName: "themeCard"
        title: qsTr("Theme")

        GridLayout {
            objectName: "themeGrid"
            Layout.fillWidth: true
            Layout.margins: 16
            columns: 3
            columnSpacing: 12
            rowSpacing: 12

            Repeater {
                model: ThemeCatalog.themes
                ThemeCard {
                    required property var modelData
                    objectName: "theme_" + modelData.rawValue
                    Layout.fillWidth: true
                    Layout.preferredWidth: 1
                    theme: modelData.rawValue
                    selected: ThemeManager.currentTheme === modelData.rawValue
                    onChosen: ThemeManager.currentTheme = modelData.rawValue
                }
            }
        }
    }

    SettingsCard {
        objectName: "backgroundCard"
        title: qsTr("Background")
        SettingsRow {
            icon: "square.split.diagonal.2x2"
            iconColor: SettingsStyle.purple
            title: qsTr("Fill style")
            subtitle: qsTr("Solid vs gradient backdrop — all built-in themes; custom HTML and website overlays ignore this")
            SettingsSegmentedPicker {
                objectName: "fillPicker"
                Layout.preferredWidth: 220
                choices: [{ label: qsTr("Gradient"), value: "gradient" },
                          { label: qsTr("Solid"), value: "solid" }]
                value: ThemeManager.backgroundFillMode
                onPicked: value => ThemeManager.backgroundFillMode = value
            }
        }
        SettingsRow {
            icon: "wind"
            iconColor: SettingsStyle.mint
            title: qsTr("Ambient motion")
            subtitle: qsTr("Slow rotating light over the backdrop; disabled for custom HTML and website overlays")
            SettingsSwitch {
                objectName: "motionSwitch"
                value: ThemeManager.backgroundMotionEnabled
                onToggledTo: on => ThemeManager.backgroundMotionEnabled = on
            }
        }
    }

    SettingsCard {
        objectName: "textCard"
        title: qsTr("Overlay Text")
        SettingsRow {
            icon: "text.quote"
            iconColor: SettingsStyle.blue
            title: qsTr("Headline")
            SettingsTextField {
                objectName: "headlineField"
                Layout.preferredWidth: 280
                placeholderText: qsTr("Headline on the lock screen")
                text: ThemeManager.customHeadline
                onTextEdited: ThemeManager.customHeadline = text
            }
        }
        SettingsRow {
            icon: "text.below.photo"
            iconColor: SettingsStyle.indigo
            title: qsTr("Subtext")
            SettingsTextField {
                objectName: "subtextField"
                Layout.preferredWidth: 280
                placeholderText: qsTr("Line under the headline")
                text: ThemeManager.customSubtext
                onTextEdited: ThemeManager.customSubtext = text
            }
        }
    }

    SettingsCard {
        objectName: "liveBlurCard"
        title: qsTr("Live Blur Settings")
        visible: page.overlay.showsLiveBlurSettings
        SettingsRow {
            icon: "rectangle.on.rectangle.dashed"
            iconColor: SettingsStyle.orange
            title: qsTr("Blur actual desktop")
            subtitle: qsTr("Off by default: dark gradient only. Turn on for a frosted view of your screen, captured as the lock comes up (X11; a Wayland session keeps the dark gradient).")
            SettingsSwitch {
                objectName: "showDesktopSwitch"
                value: ThemeManager.liveBlurShowDesktop
                onToggledTo: on => ThemeManager.liveBlurShowDesktop = on
            }
        }
        SettingsRow {
            icon: "camera.filters"
            iconColor: SettingsStyle.cyan
            title: qsTr("Blur intensity")
            subtitle: qsTr("Higher = more privacy, less visible")
            Slider {
                id: radiusSlider
                objectName: "radiusSlider"
                Layout.preferredWidth: 160
                from: 10
                to: 80
                stepSize: 5
                snapMode: Slider.SnapAlways
                value: ThemeManager.liveBlurRadius
                // Only the user's moves are stored: a radius from a share
                // link outside the range stays as it is.
                onMoved: ThemeManager.liveBlurRadius = value
            }
            Text {
                objectName: "radiusLabel"
                Layout.preferredWidth: 28
                text: page.overlay.blurRadiusLabel
                color: SettingsStyle.secondaryText
                font.pixelSize: 12
                elide: Text.ElideRight
            }
        }
    }

    SettingsCard {
        objectName: "displayCard"
        title: qsTr("Display")
        SettingsRow {
            icon: "list.bullet.rectangle"
            iconColor: SettingsStyle.green
            title: qsTr("Show task ticker")
            subtitle: qsTr("Running processes on overlay")
            SettingsSwitch {
                objectName: "tickerSwitch"
                value: ThemeManager.showTaskTicker
                onToggledTo: on => ThemeManager.showTaskTicker = on
            }
        }
        SettingsRow {
            icon: "clock"
            iconColor: SettingsStyle.cyan
            title: qsTr("Show clock")
            SettingsSwitch {
                objectName: "clockSwitch"
                value: ThemeManager.showClock
                onToggledTo: on => ThemeManager.showClock = on
            }
        }
    }

    SettingsCard {
        objectName: "websiteCard"
        title: qsTr("Custom Website Overlay")

        RowLayout {
            Layout.fillWidth: true
            Layout.margins: 16
            Layout.bottomMargin: 10
            spacing: 12
            Rectangle {
                Layout.alignment: Qt.AlignTop
                implicitWidth: 28
                implicitHeight: 28
                radius: 7
                gradient: Gradient {
                    orientation: Gradient.Horizontal
                    GradientStop { position: 0; color: SettingsStyle.blue }
                    GradientStop { position: 1; color: SettingsStyle.cyan }
                }
                Symbol { anchors.centerIn: parent; name: "globe"; size: 16; color: "white" }
            }
            ColumnLayout {
                Layout.fillWidth: true
                spacing: 2
                Text {
                    text: qsTr("Website URL")
                    color: SettingsStyle.text
                    font.pixelSize: SettingsStyle.bodySize
                    font.weight: Font.DemiBold
                }
                Text {
                    Layout.fillWidth: true
                    text: qsTr("Load any https:// page as your lock screen — sports scores, stock tickers, dashboards, news feeds.")
                    color: SettingsStyle.secondaryText
                    font.pixelSize: SettingsStyle.captionSize
                    wrapMode: Text.Wrap
                }
            }
        }

        SettingsTextField {
            id: urlField
            objectName: "websiteField"
            Layout.fillWidth: true
            Layout.leftMargin: 16
            Layout.rightMargin: 16
            leftPadding: 30
            placeholderText: "https://example.com/dashboard"
            text: page.overlay.websiteURL
            onTextEdited: page.overlay.editWebsiteURL(text)
            Symbol {
                anchors.left: parent.left
                anchors.leftMargin: 9
                anchors.verticalCenter: parent.verticalCenter
                name: "link"
                size: 13
                color: SettingsStyle.secondaryText
            }
        }

        Item {
            objectName: "websiteSelectedRow"
            visible: page.overlay.hasWebsiteURL
            Layout.fillWidth: true
            Layout.leftMargin: 16
            Layout.rightMargin: 16
            Layout.topMargin: 8
            implicitHeight: Math.max(selectedText.implicitHeight, clearButton.implicitHeight)
            Symbol {
                id: selectedMark
                anchors.left: parent.left
                anchors.verticalCenter: parent.verticalCenter
                name: "checkmark.circle.fill"
                size: 13
                color: SettingsStyle.success
            }
            Text {
                id: selectedText
                anchors.left: selectedMark.right
                anchors.leftMargin: 6
                anchors.right: clearButton.left
                anchors.rightMargin: 8
                anchors.verticalCenter: parent.verticalCenter
                textFormat: Text.StyledText
                text: qsTr("Select <b>Custom Website</b> theme to use this URL")
                color: SettingsStyle.secondaryText
                font.pixelSize: 12
                wrapMode: Text.Wrap
            }
            SettingsButton {
                id: clearButton
                objectName: "clearWebsiteButton"
                anchors.right: parent.right
                anchors.verticalCenter: parent.verticalCenter
                link: true
                destructive: true
                text: qsTr("Clear")
                onClicked: page.overlay.clearWebsiteURL()
            }
        }

        RowLayout {
            Layout.fillWidth: true
            Layout.margins: 16
            Layout.topMargin: 8
            spacing: 6
            Symbol { name: "info.circle"; size: 12; color: SettingsStyle.tertiaryText }
            Text {
                Layout.fillWidth: true
                text: qsTr("Some sites block embedded browsers. Only https:// URLs are allowed.")
                color: SettingsStyle.tertiaryText
                font.pixelSize: SettingsStyle.captionSize
                wrapMode: Text.Wrap
            }
        }
    }

    SettingsCard {
        objectName: "shareCard"
        title: qsTr("Share Theme")
        SettingsRow {
            icon: "square.and.arrow.up"
            iconColor: SettingsStyle.blue
            title: qsTr("Export current theme")
            subtitle: qsTr("Copy a shareable link to your clipboard")
            SettingsButton {
                objectName: "copyLinkButton"
                text: page.sharing.copyButtonTitle
                onClicked: page.sharing.copyLink()
            }
        }
        ColumnLayout {
            Layout.fillWidth: true
            Layout.margins: 16
            Layout.topMargin: 12
            spacing: 8
            Rectangle {
                Layout.fillWidth: true
                Layout.leftMargin: -16
                Layout.rightMargin: -16
                Layout.bottomMargin: 4
                implicitHeight: 1
                color: SettingsStyle.separator
            }
            Text {
                text: qsTr("Import theme from URL")
                color: SettingsStyle.text
                font.pixelSize: SettingsStyle.bodySize
                font.weight: Font.Medium
            }
            RowLayout {
                Layout.fillWidth: true
                spacing: 8
                SettingsTextField {
                    objectName: "importField"
                    Layout.fillWidth: true
                    placeholderText: page.sharing.importPlaceholder
                    text: page.sharing.importText
                    onTextEdited: page.sharing.importText = text
                    onAccepted: page.sharing.importTheme()
                }
                SettingsButton {
                    objectName: "importButton"
                    text: qsTr("Import")
                    onClicked: page.sharing.importTheme()
                }
            }
            Text {
                objectName: "importStatus"
                visible: text.length > 0
                text: page.sharing.importStatus
                color: text.indexOf("Invalid") >= 0 ? SettingsStyle.error : SettingsStyle.success
                font.pixelSize: 12
            }
        }
    }
}
