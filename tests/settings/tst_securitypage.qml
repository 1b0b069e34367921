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

        function test_cardsAndRowsInOrder() {
            const page = createTemporaryObject(pageComponent, root)
            compare(page.title, "Security")
            compare(page.subtitle, "PIN, Fingerprint, and lockout settings.")
            compare(Helpers.cardTitles(page), ["Change PIN", "Authentication", "Lockout"])
            compare(Helpers.rowTitles(Helpers.findCard(page, "Authentication")),
                    ["Fingerprint", "Always require PIN"])
            compare(Helpers.rowTitles(Helpers.findCard(page, "Lockout")),
                    ["Failed attempts before lockout"])
        }

        function test_updateButtonNeedsEveryField() {
            const page = createTemporaryObject(pageComponent, root)
            const button = Helpers.findNamed(page, "updatePINButton")
            verify(!button.enabled)
            for (const name of ["currentPINField", "newPINField"]) {
                const field = Helpers.findNamed(page, name)
                verify(field.echoMode === TextInput.Password)
                field.forceActiveFocus()
                keyClick(Qt.Key_1); keyClick(Qt.Key_2); keyClick(Qt.Key_3); keyClick(Qt.Key_4)
            }
            verify(!button.enabled)
            Helpers.findNamed(page, "confirmPINField").forceActiveFocus()
            keyClick(Qt.Key_9)
            verify(button.enabled)
            mouseClick(button)
            compare(Helpers.findNamed(page, "pinMessage").text, "PINs don't match")
            compare(page.security.newPIN, "1234")
        }

        function test_switchesAndPickerWriteTheirKeys() {
            const page = createTemporaryObject(pageComponent, root)
            const fingerprint = Helpers.findNamed(page, "touchIDSwitch")
            // Fresh preferences: shown on.
            verify(fingerprint.checked)
            mouseClick(fingerprint)
            verify(!page.security.touchIDEnabled)
            mouseClick(fingerprint)
            verify(page.security.touchIDEnabled)

            mouseClick(Helpers.findNamed(page, "requirePINSwitch"))
            verify(page.security.requirePINAlways)

            const attempts = Helpers.findNamed(page, "attemptsPicker")
            compare(attempts.displayText, "5 attempts")
            attempts.activated(0)
            compare(page.security.maxPINAttempts, 3)
            compare(attempts.displayText, "3 attempts")
        }
    }
}
