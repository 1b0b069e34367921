import QtQuick
import QtQuick.Layouts
import Vostrel.Settings

// About & Support: version and updates, where to get help, the legal pages.
SettingsPageContainer {
    id: page

    property var pageInfo: ({})
    property AboutModel about: SettingsObjects.aboutModel(page)

    title: qsTr("About & Support")
    subtitle: pageInfo.subtitle || "Vostrel — don't interrupt the tamber."

    RowLayout {
        objectName: "aboutHeader"
        Layout.fillWidth: true
        spacing: 14

        BrandLogoView {
            Layout.preferredWidth: 56
            Layout.preferredHeight: 56
        }
        ColumnLayout {
            spacing: 2
            Text {
                text: "VOSTREL"
                color: SettingsStyle.wordmark
                font.pixelSize: 18
                font.weight: Font.Black
                font.letterSpacing: 2
            }
            Text {
                text: qsTr("Private cover. Awake computer.")
                color: SettingsStyle.secondaryText
                font.pixelSize: SettingsStyle.bodySize
            }
        }
    }

    SettingsCard {
        objectName: "appInfoCard"
        title: qsTr("App Info")
        SettingsRow {
            icon: "app.badge"
            iconColor: SettingsStyle.purple
            title: qsTr("Version")
            ColumnLayout {
                spacing: 1
                Text {
                    objectName: "versionText"
                    Layout.alignment: Qt.AlignRight
                    text: BuildVersion.versionText
                    color: SettingsStyle.secondaryText
                    font.pixelSize: 12
                }
                Text {
                    objectName: "availableText"
                    Layout.alignment: Qt.AlignRight
                    visible: text.length > 0
                    text: page.about.availableText
                    color: SettingsStyle.success
                    font.pixelSize: 11
                    font.weight: Font.Medium
                }
            }
        }
        SettingsRow {
            icon: "arrow.triangle.2.circlepath"
            iconColor: SettingsStyle.blue
            title: qsTr("Updates")
            SettingsButton {
                objectName: "updateButton"
                text: page.about.updateButtonTitle
                onClicked: page.about.updateAction()
            }
        }
        SettingsRow {
            icon: "desktopcomputer"
            iconColor: SettingsStyle.grey
            title: qsTr("Platform")
            Text {
                objectName: "platformText"
                text: page.about.platform
                color: SettingsStyle.secondaryText
                font.pixelSize: 12
            }
        }
    }

    SettingsCard {
        objectName: "supportCard"
        title: qsTr("Support")
        SettingsRow {
            icon: "envelope.fill"
            iconColor: SettingsStyle.blue
            title: qsTr("Email Support")
            SettingsButton {
                objectName: "emailButton"
                link: true
                text: page.about.supportEmail
                onClicked: page.about.openLink(page.about.supportURL)
            }
        }
        SettingsRow {
            icon: "bubble.left.and.bubble.right.fill"
            iconColor: SettingsStyle.green
            title: qsTr("Community")
            SettingsButton {
                link: true
                text: qsTr("GitHub Discussions")
                onClicked: page.about.openLink(page.about.discussionsURL)
            }
        }
        SettingsRow {
            icon: "doc.text.fill"
            iconColor: SettingsStyle.grey
            title: qsTr("Documentation")
            SettingsButton {
                link: true
                text: qsTr("View Docs")
                onClicked: page.about.openLink(page.about.documentationURL)
            }
        }
    }

    SettingsCard {
        objectName: "legalCard"
        title: qsTr("Legal")
        SettingsRow {
            icon: "hand.raised.fill"
            iconColor: SettingsStyle.teal
            title: qsTr("Privacy Policy")
            SettingsButton {
                link: true
                text: qsTr("View")
                onClicked: page.about.openLink(page.about.privacyURL)
            }
        }
        SettingsRow {
            icon: "doc.plaintext.fill"
            iconColor: SettingsStyle.grey
            title: qsTr("Terms of Service")
            SettingsButton {
                link: true
                text: qsTr("View")
                onClicked: page.about.openLink(page.about.termsURL)
            }
        }
    }
}
