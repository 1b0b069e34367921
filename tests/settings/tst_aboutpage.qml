import QtQuick
import QtTest
import Vostrel.Settings
import "helpers.js" as Helpers

// TestCase itself is never visible; what it tests lives in the root.
Item {
    id: root
    width: 900
    height: 1200

    TestCase {
        id: testCase
        name: "AboutPage"
        when: windowShown

        Component {
            id: pageComponent
            AboutPage { width: 900; height: 1200 }
        }

        function test_versionPlatformAndUpdates() {
            const page = createTemporaryObject(pageComponent, root)
            verify(/^\d+\.\d+\.\d+ \(Build \S+\)$/.test(Helpers.findNamed(page, "versionText").text))
            compare(Helpers.findNamed(page, "platformText").text, page.about.platform)
            // No checker in this process: the button checks, and nothing is announced.
            compare(Helpers.findNamed(page, "updateButton").text, "Check for Updates")
            verify(!Helpers.findNamed(page, "availableText").visible)
            compare(Helpers.findNamed(page, "emailButton").text, page.about.supportEmail)
        }
    }
}
