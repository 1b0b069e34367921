import QtQuick
import QtQuick.Layouts
import Vostrel.Settings
import Vostrel.Themes

// Security: change the PIN, fingerprint and PIN switches, the lockout limit.
SettingsPageContainer {
    id: page

    property var pageInfo: ({})
    property SecuritySettings security: SettingsObjects.securitySettings(page)

    title: qsTr("Security")
    subtitle: qsTr("PIN, fingerprint, and lockout settings.")

    SettingsCard {
        objectName: "changePINCard"
        title: page.security.hasPIN ? qsTr("Change PIN") : qsTr("Set PIN")

        Text {
            objectName: "noPINLine"
            visible: !page.security.hasPIN
            Layout.fillWidth: true
            Layout.leftMargin: 16
            Layout.rightMargin: 16
            Layout.topMargin: 12
            text: qsTr("No PIN is set: Vostrel cannot lock until you choose one.")
            color: SettingsStyle.error
            font.pixelSize: 13
            font.weight: Font.Medium
            wrapMode: Text.Wrap
        }

        GridLayout {
            Layout.fillWidth: true
            Layout.margins: 16
            columns: 3
            columnSpacing: 12
            rowSpacing: 6

            Repeater {
                model: [
                    { label: qsTr("Current PIN"), name: "currentPINField", key: "currentPIN" },
                    { label: qsTr("New PIN"), name: "newPINField", key: "newPIN" },
                    { label: qsTr("Confirm"), name: "confirmPINField", key: "confirmPIN" }
                ]
                ColumnLayout {
                    id: labelled
                    required property var modelData
                    visible: labelled.modelData.key !== "currentPIN" || page.security.hasPIN
                    Layout.fillWidth: true
                    spacing: 4
                    Text {
                        text: labelled.modelData.label
                        color: SettingsStyle.secondaryText
                        font.pixelSize: SettingsStyle.captionSize
                        font.weight: Font.Medium
                    }
                    SettingsTextField {
                        objectName: labelled.modelData.name
                        Layout.fillWidth: true
                        masked: true
                        inputMethodHints: Qt.ImhDigitsOnly | Qt.ImhSensitiveData | Qt.ImhNoPredictiveText
                        text: page.security[labelled.modelData.key]
                        onTextEdited: page.security[labelled.modelData.key] = text
                        onAccepted: if (page.security.canUpdate) page.security.updatePIN()
                    }
                }
            }
        }

        RowLayout {
            Layout.fillWidth: true
            Layout.leftMargin: 16
            Layout.rightMargin: 16
            Layout.bottomMargin: 14
            spacing: 6

            Symbol {
                visible: page.security.pinMessage.length > 0
                name: page.security.pinSuccess ? "checkmark.circle.fill" : "xmark.circle.fill"
                size: 13
                color: page.security.pinSuccess ? SettingsStyle.success : SettingsStyle.error
            }
            Text {
                objectName: "pinMessage"
                visible: text.length > 0
                Layout.fillWidth: true
                text: page.security.pinMessage
                color: page.security.pinSuccess ? SettingsStyle.success : SettingsStyle.error
                font.pixelSize: 12
                wrapMode: Text.Wrap
            }
            Item { Layout.fillWidth: page.security.pinMessage.length === 0 }
            SettingsButton {
                objectName: "updatePINButton"
                prominent: true
                text: page.security.hasPIN ? qsTr("Update PIN") : qsTr("Set PIN")
                enabled: page.security.canUpdate
                onClicked: page.security.updatePIN()
            }
        }
    }

    SettingsCard {
        objectName: "authenticationCard"
        title: qsTr("Authentication")
        SettingsRow {
            icon: "touchid"
            iconColor: SettingsStyle.pink
            title: qsTr("Fingerprint")
            subtitle: qsTr("Use fingerprint to unlock overlay")
            SettingsSwitch {
                objectName: "fingerprintSwitch"
                value: page.security.fingerprintEnabled
                onToggledTo: on => page.security.fingerprintEnabled = on
            }
        }
        SettingsRow {
            icon: "lock.rotation"
            iconColor: SettingsStyle.orange
            title: qsTr("Always require PIN")
            subtitle: qsTr("No grace period after recent unlock")
            SettingsSwitch {
                objectName: "requirePINSwitch"
                value: page.security.requirePINAlways
                onToggledTo: on => page.security.requirePINAlways = on
            }
        }
    }

    SettingsCard {
        objectName: "lockoutCard"
        title: qsTr("Lockout")
        SettingsRow {
            icon: "exclamationmark.shield"
            iconColor: SettingsStyle.red
            title: qsTr("Failed attempts before lockout")
            SettingsPopupPicker {
                objectName: "attemptsPicker"
                Layout.preferredWidth: 130
                choices: page.security.attemptChoices
                value: page.security.maxPINAttempts
                onPicked: value => page.security.maxPINAttempts = value
            }
        }
    }
}
