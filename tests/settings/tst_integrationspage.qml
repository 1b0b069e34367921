import QtQuick
import QtTest
import Vostrel.Settings
import "helpers.js" as Helpers

Item {
    id: root
    width: 900
    height: 1800

    TestCase {
        id: testCase
        name: "IntegrationsPage"
        when: windowShown

        Component {
            id: pageComponent
            IntegrationsPage { width: 900; height: 1800 }
        }

        function typeInto(field, text) {
            field.forceActiveFocus()
            field.selectAll()
            keyClick(Qt.Key_Backspace)
            for (const c of text)
                keyClick(c)
        }

        function test_slackFieldsAndTokenWarning() {
            const page = createTemporaryObject(pageComponent, root)
            const fields = Helpers.findNamed(page, "slackFields")
            verify(!fields.visible)
            mouseClick(Helpers.findNamed(page, "slackSwitch"))
            verify(page.integrations.slackSyncEnabled)
            verify(fields.visible)

            const token = Helpers.findNamed(page, "slackTokenField")
            verify(token.echoMode === TextInput.Password)
            const warning = Helpers.findNamed(page, "slackError")
            typeInto(token, "abc")
            compare(page.integrations.slackToken, "abc")
            verify(warning.visible)
            compare(warning.text, "Token should start with xoxb- or xoxp-")
            token.selectAll()
            keyClick(Qt.Key_Backspace)
            verify(!warning.visible)
            compare(page.integrations.slackToken, "")

            typeInto(Helpers.findNamed(page, "slackStatusField"), "Away")
            compare(page.integrations.slackStatusText, "Away")
            typeInto(Helpers.findNamed(page, "slackEmojiField"), "zzz")
            compare(page.integrations.slackStatusEmoji, "zzz")

            mouseClick(Helpers.findNamed(page, "slackSwitch"))
            verify(!page.integrations.slackSyncEnabled)
            verify(!fields.visible)
        }

        function test_syncNowWithoutAFolderShowsTheError() {
            const page = createTemporaryObject(pageComponent, root)
            const row = Helpers.findNamed(page, "syncNowRow")
            verify(!row.visible)
            mouseClick(Helpers.findNamed(page, "cloudSwitch"))
            verify(page.integrations.cloudSyncEnabled)
            verify(row.visible)
            mouseClick(Helpers.findNamed(page, "syncNowButton"))
            compare(Helpers.findNamed(page, "syncStatus").text,
                    "Cloud Sync not available. Choose a sync folder that exists.")
            mouseClick(Helpers.findNamed(page, "cloudSwitch"))
            verify(!page.integrations.cloudSyncEnabled)

            const folder = Helpers.findNamed(page, "cloudFolderField")
            typeInto(folder, "/nonexistent/x")
            keyClick(Qt.Key_Return)
            compare(page.integrations.cloudSyncFolder, "/nonexistent/x")
            typeInto(folder, "")
            keyClick(Qt.Key_Return)
            compare(page.integrations.cloudSyncFolder, "")
        }

        // A folder chosen while running is used at once; the click itself
        // ends the editing. The runner's home is a temporary folder.
        function test_syncNowUsesTheFolderJustChosen() {
            const page = createTemporaryObject(pageComponent, root)
            mouseClick(Helpers.findNamed(page, "cloudSwitch"))
            typeInto(Helpers.findNamed(page, "cloudFolderField"), "~")
            mouseClick(Helpers.findNamed(page, "syncNowButton"))
            compare(Helpers.findNamed(page, "syncStatus").text, "Synced to Cloud Sync")
            mouseClick(Helpers.findNamed(page, "cloudSwitch"))
            page.integrations.cloudSyncFolder = ""
        }

        function test_calendarSourcesAndSwitches() {
            const page = createTemporaryObject(pageComponent, root)
            const field = Helpers.findNamed(page, "calendarSourceField")
            const add = Helpers.findNamed(page, "addSourceButton")
            verify(!add.enabled)
            typeInto(field, "/nowhere/work.ics")
            mouseClick(add)
            compare(page.calendarSources.sources, ["/nowhere/work.ics"])
            compare(field.text, "")
            typeInto(field, "relative.ics")
            mouseClick(add)
            verify(Helpers.findNamed(page, "calendarSourceError").visible)
            compare(field.text, "relative.ics")
            mouseClick(Helpers.findNamed(page, "removeSource_0"))
            compare(page.calendarSources.sources, [])

            mouseClick(Helpers.findNamed(page, "calendarSwitch"))
            verify(page.integrations.calendarEnabled)
            // No source can be read, so access stays missing.
            tryVerify(() => Helpers.findNamed(page, "calendarAccessWarning").visible)
            mouseClick(Helpers.findNamed(page, "calendarSwitch"))
            verify(!page.integrations.calendarEnabled)
            verify(!Helpers.findNamed(page, "calendarAccessWarning").visible)

            mouseClick(Helpers.findNamed(page, "focusSwitch"))
            verify(page.integrations.focusEnabled)
            mouseClick(Helpers.findNamed(page, "focusSwitch"))
            verify(!page.integrations.focusEnabled)
        }
    }
}
