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

        function test_cardsAndRowsInOrder() {
            const page = createTemporaryObject(pageComponent, root)
            compare(page.title, "About & Support")
            verify(Helpers.findNamed(page, "aboutHeader"))
            compare(Helpers.cardTitles(page), ["App Info", "Support", "Legal"])
            compare(Helpers.rowTitles(Helpers.findCard(page, "App Info")),
                    ["Version", "Updates", "Platform"])
            compare(Helpers.rowTitles(Helpers.findCard(page, "Support")),
                    ["Email Support", "Community", "Documentation"])
            compare(Helpers.rowTitles(Helpers.findCard(page, "Legal")),
                    ["Privacy Policy", "Terms of Service"])
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
