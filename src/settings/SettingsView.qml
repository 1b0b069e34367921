import QtQuick
import QtQuick.Layouts
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
            onLoaded: {
                if (item.hasOwnProperty("pageInfo"))
                    item.pageInfo = info
            }
        }
    }
}
