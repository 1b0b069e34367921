import QtQuick
import QtTest
import Vostrel.Settings
import "helpers.js" as Helpers

// TestCase itself is never visible; what it tests lives in the root.
Item {
    id: root
    width: 900
    height: 1000

    TestCase {
        id: testCase
        name: "SecurityPage"
        when: windowShown

        Component {
            id: pageComponent
            SecurityPage { width: 900; height: 1000 }
        }

        function typeInto(page, name, digits) {
            Helpers.findNamed(page, name).forceActiveFocus()
            for (const digit of digits)
                keyClick(Qt.Key_0 + Number(digit))
        }

        // Fresh preferences hold no PIN: the page says so and offers to set one.
        function test_noPINYetAsksToSetOne() {
            const page = createTemporaryObject(pageComponent, root)
            compare(Helpers.cardTitles(page)[0], "Set PIN")
            verify(Helpers.findNamed(page, "noPINLine").visible)
        }

        function test_switchesAndPickerWriteTheirKeys() {
            const page = createTemporaryObject(pageComponent, root)
            const fingerprint = Helpers.findNamed(page, "fingerprintSwitch")
            // Fresh preferences: shown on.
            verify(fingerprint.checked)
            mouseClick(fingerprint)
            verify(!page.security.fingerprintEnabled)
            mouseClick(fingerprint)
            verify(page.security.fingerprintEnabled)

            mouseClick(Helpers.findNamed(page, "requirePINSwitch"))
            verify(page.security.requirePINAlways)

            const attempts = Helpers.findNamed(page, "attemptsPicker")
            compare(attempts.displayText, "5 attempts")
            attempts.activated(0)
            compare(page.security.maxPINAttempts, 3)
            compare(attempts.displayText, "3 attempts")
        }

        // Runs last: it stores a PIN. Without one the form sets it without
        // the old; from then on it changes it and needs every field.
        function test_withoutAPINTheFormSetsOneThenChangesIt() {
            const page = createTemporaryObject(pageComponent, root)
            const button = Helpers.findNamed(page, "updatePINButton")
            verify(!Helpers.findNamed(page, "currentPINField").visible)
            verify(!button.enabled)
            typeInto(page, "newPINField", "2468")
            verify(!button.enabled)
            typeInto(page, "confirmPINField", "2468")
            verify(button.enabled)
            mouseClick(button)
            compare(Helpers.findNamed(page, "pinMessage").text, "PIN set: Vostrel can lock now")
            compare(Helpers.cardTitles(page)[0], "Change PIN")
            verify(!Helpers.findNamed(page, "noPINLine").visible)
            verify(Helpers.findNamed(page, "currentPINField").visible)

            for (const name of ["currentPINField", "newPINField"]) {
                verify(Helpers.findNamed(page, name).echoMode === TextInput.Password)
                typeInto(page, name, "1234")
            }
            verify(!button.enabled)
            typeInto(page, "confirmPINField", "9")
            verify(button.enabled)
            mouseClick(button)
            compare(Helpers.findNamed(page, "pinMessage").text, "PINs don't match")
            compare(page.security.newPIN, "1234")
        }
    }
}
