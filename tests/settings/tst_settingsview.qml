import QtQuick
import QtTest
import Vostrel.Settings
import "helpers.js" as Helpers

// TestCase itself is never visible; what it tests lives in the root.
Item {
    id: root
    width: 900
    height: 640

    TestCase {
        id: testCase
        name: "SettingsView"
        when: windowShown

        Component {
            id: viewComponent
            SettingsView { width: 900; height: 640 }
        }

        function test_sidebarSelectsEveryPage() {
            const view = createTemporaryObject(viewComponent, root,
                                               { appearance: null, navigation: SettingsNavigation })
            verify(Helpers.findNamed(view, "sidebarVersion").text.startsWith("v"))
            compare(Helpers.findNamed(view, "sidebarTagline").text, "Private cover. Awake computer.")
            const loader = Helpers.findNamed(view, "pageLoader")
            const expected = {
                general: "General", security: "Security", overlay: "Overlay & Themes",
                schedule: "Schedule", integrations: "Integrations", about: "About & Support"
            }
            for (const id in expected) {
                mouseClick(Helpers.findNamed(view, "sidebar_" + id))
                compare(SettingsNavigation.selectedPage, id)
                tryCompare(loader, "status", Loader.Ready)
                compare(loader.item.title, expected[id])
            }
            SettingsNavigation.selectedPage = "general"
        }
    }
}
