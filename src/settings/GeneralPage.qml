import QtQuick
import QtQuick.Layouts
import Vostrel.Settings
import Vostrel.Themes

// General: appearance, startup, keep-awake default, sounds, displays and the
// lock hotkey.
SettingsPageContainer {
    id: page

    property var pageInfo: ({})
    property GeneralSettings general: SettingsObjects.generalSettings(page)

    title: qsTr("General")
    subtitle: pageInfo.subtitle || ""

    SettingsCard {
        objectName: "sessionRefusalCard"
        visible: page.general.sessionRefusal !== ""
        title: qsTr("Locking")
        SettingsRow {
            icon: "exclamationmark.triangle.fill"
            iconColor: SettingsStyle.orange
            title: qsTr("This session cannot be locked")
            subtitle: page.general.sessionRefusal
        }
    }

    SettingsCard {
        objectName: "appearanceCard"
        title: qsTr("Appearance")
        SettingsRow {
            icon: "circle.lefthalf.filled"
            iconColor: SettingsStyle.purple
            title: qsTr("Theme")
            subtitle: qsTr("Settings window appearance")
            SettingsSegmentedPicker {
                objectName: "appearancePicker"
                Layout.preferredWidth: 200
                choices: page.general.appearanceChoices
                value: page.general.appearance
                onPicked: value => page.general.appearance = value
            }
        }
    }

    SettingsCard {
        objectName: "startupCard"
        title: qsTr("Startup")
        SettingsRow {
            icon: "power"
            iconColor: SettingsStyle.green
            title: qsTr("Launch at login")
            subtitle: qsTr("Start Vostrel when you log in")
            SettingsSwitch {
                objectName: "launchAtLoginSwitch"
                value: page.general.launchAtLogin
                onToggledTo: on => page.general.launchAtLogin = on
            }
        }
        RowLayout {
            objectName: "loginError"
            visible: page.general.loginError.length > 0
            Layout.fillWidth: true
            Layout.leftMargin: 56
            Layout.rightMargin: 16
            Layout.bottomMargin: 12
            spacing: 6
            Symbol {
                name: "exclamationmark.triangle.fill"
                size: 12
                color: SettingsStyle.error
            }
            Text {
                Layout.fillWidth: true
                text: page.general.loginError
                color: SettingsStyle.error
                font.pixelSize: 11
                wrapMode: Text.Wrap
            }
        }
    }

    SettingsCard {
        objectName: "keepAwakeCard"
        title: qsTr("Keep Awake")
        SettingsRow {
            icon: "clock"
            iconColor: SettingsStyle.orange
            title: qsTr("Default duration")
            subtitle: qsTr("When activating from the tray")
            SettingsPopupPicker {
                objectName: "durationPicker"
                Layout.preferredWidth: 140
                choices: page.general.durationChoices
                value: page.general.defaultDuration
                onPicked: value => page.general.defaultDuration = value
            }
        }
    }

    SettingsCard {
        objectName: "soundCard"
        title: qsTr("Sound")
        SettingsRow {
            icon: "speaker.wave.2.fill"
            iconColor: SettingsStyle.pink
            title: qsTr("Lock/Unlock sounds")
            subtitle: qsTr("Play a subtle sound when locking or unlocking")
            SettingsSwitch {
                objectName: "lockSoundsSwitch"
                value: page.general.lockSoundsEnabled
                onToggledTo: on => page.general.lockSoundsEnabled = on
            }
        }
    }

    SettingsCard {
        objectName: "displayCard"
        title: qsTr("Display")
        SettingsRow {
            icon: "display"
            iconColor: SettingsStyle.blue
            title: qsTr("Lock all displays")
            subtitle: qsTr("Cover all connected monitors when locking")
            SettingsSwitch {
                objectName: "lockAllDisplaysSwitch"
                value: page.general.lockAllDisplays
                onToggledTo: on => page.general.lockAllDisplays = on
            }
        }
    }

    SettingsCard {
        objectName: "keyboardCard"
        title: qsTr("Keyboard")
        HotkeySettingsRow {
            objectName: "hotkeyRow"
        }
    }
}
