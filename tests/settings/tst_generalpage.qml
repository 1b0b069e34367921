import QtQuick
import QtTest
import Vostrel.Settings
import "helpers.js" as Helpers

// TestCase itself is never visible; what it tests lives in the root.
Item {
    id: root
    width: 900
    height: 1400

    TestCase {
        id: testCase
        name: "GeneralPage"
        when: windowShown

        Component {
            id: pageComponent
            GeneralPage { width: 900; height: 1400 }
        }

        function test_switchesWriteTheirKeys() {
            const page = createTemporaryObject(pageComponent, root)
            const sounds = Helpers.findNamed(page, "lockSoundsSwitch")
            const displays = Helpers.findNamed(page, "lockAllDisplaysSwitch")
            const soundsBefore = page.general.lockSoundsEnabled
            verify(displays.checked)
            mouseClick(sounds)
            compare(page.general.lockSoundsEnabled, !soundsBefore)
            compare(sounds.checked, !soundsBefore)
            mouseClick(displays)
            verify(!page.general.lockAllDisplays)
            mouseClick(displays)
            verify(page.general.lockAllDisplays)
        }

        function test_launchAtLoginWritesTheAutostartEntry() {
            const page = createTemporaryObject(pageComponent, root)
            const toggle = Helpers.findNamed(page, "launchAtLoginSwitch")
            verify(!page.general.launchAtLogin)
            mouseClick(toggle)
            verify(page.general.launchAtLogin)
            compare(page.general.loginError, "")
            verify(!Helpers.findNamed(page, "loginError").visible)
            mouseClick(toggle)
            verify(!page.general.launchAtLogin)
            verify(!toggle.checked)
        }

        function test_appearanceAndDurationPickers() {
            const page = createTemporaryObject(pageComponent, root)
            compare(page.general.appearance, "system")
            mouseClick(Helpers.findNamed(page, "segment_dark"))
            compare(page.general.appearance, "dark")
            mouseClick(Helpers.findNamed(page, "segment_system"))
            compare(page.general.appearance, "system")

            const duration = Helpers.findNamed(page, "durationPicker")
            compare(duration.displayText, "Indefinitely")
            duration.activated(3)
            compare(page.general.defaultDuration, 60)
            compare(duration.displayText, "1 hour")
        }

        function test_hotkeyRowRecords() {
            const page = createTemporaryObject(pageComponent, root)
            const row = Helpers.findNamed(page, "hotkeyRow")
            const button = Helpers.findNamed(row, "hotkeyButton")
            compare(Helpers.findNamed(row, "keyCaps").visible, true)
            compare(button.text, "Change")
            mouseClick(button)
            compare(button.text, "Cancel")
            verify(Helpers.findNamed(row, "recordingLabel").visible)
            mouseClick(button)
            compare(button.text, "Change")
        }
    }
}
