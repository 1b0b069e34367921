import QtQuick
import QtQuick.Layouts
import QtQuick.Window
import Vostrel.Settings

// The settings window's content: the sidebar and the selected page.
Rectangle {
    id: view

    required property SettingsAppearance appearance
    required property SettingsNavigation navigation
    property string version: BuildVersion.shortVersion

    color: SettingsStyle.window
    implicitWidth: 900
    implicitHeight: 600

    // Ctrl+W, as in every other settings window of the desktop.
    Shortcut {
        sequences: [StandardKey.Close]
        onActivated: view.Window.window.close()
    }

    Binding {
        target: SettingsStyle
        property: "dark"
        value: view.appearance ? view.appearance.dark : false
    }

    RowLayout {
        anchors.fill: parent
        spacing: 0

        SettingsSidebar {
            Layout.fillHeight: true
            Layout.preferredWidth: SettingsStyle.sidebarWidth
            version: view.version
            navigation: view.navigation
        }

        Loader {
            id: page
            objectName: "pageLoader"
            Layout.fillWidth: true
            Layout.fillHeight: true
            readonly property var info: view.navigation.selectedPageInfo
            // A fresh page for every selection, so a page's transient state
            // (typed PINs, messages) starts empty when it is shown again.
            source: info.component.length > 0 ? info.component + ".qml" : "ComingSoonPage.qml"
            Binding {
                target: page.item
                property: "pageInfo"
                value: page.info
                when: page.item !== null && page.item.hasOwnProperty("pageInfo")
            }
        }
    }
}
