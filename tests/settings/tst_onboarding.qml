import QtQuick
import QtTest
import Vostrel.Settings
import "helpers.js" as Helpers

// TestCase itself is never visible; what it tests lives in the root.
Item {
    id: root
    width: 560
    height: 480

    TestCase {
        id: testCase
        name: "Onboarding"
        when: windowShown

        Component {
            id: flowComponent
            OnboardingFlow {}
        }
        Component {
            id: viewComponent
            OnboardingView { width: 560; height: 480 }
        }

        function makeView() {
            const flow = createTemporaryObject(flowComponent, testCase)
            return createTemporaryObject(viewComponent, root, { flow: flow, appearance: null })
        }

        // Opened by a lock asked for without a PIN: said until the PIN step is left.
        function test_pinNeededLine() {
            const view = makeView()
            const line = Helpers.findNamed(view, "pinNeededLine")
            verify(!line.visible)
            view.flow.pinNeeded = true
            verify(line.visible)
            view.flow.advance()
            verify(line.visible)
            view.flow.pinInput = "1234"
            view.flow.pinConfirm = "1234"
            view.flow.advance()
            compare(view.flow.currentStep, 2)
            verify(!line.visible)
        }

        function test_stepsAndButtons() {
            const view = makeView()
            const back = Helpers.findNamed(view, "backButton")
            const next = Helpers.findNamed(view, "continueButton")
            verify(!back.visible)
            compare(next.text, "Continue")
            mouseClick(next)
            compare(view.flow.currentStep, 1)
            verify(back.visible)

            // Length is checked before the match.
            const input = Helpers.findNamed(view, "pinInputField")
            const confirm = Helpers.findNamed(view, "pinConfirmField")
            compare(input.echoMode, TextInput.Password)
            input.forceActiveFocus()
            for (const key of [Qt.Key_1, Qt.Key_2, Qt.Key_3, Qt.Key_4, Qt.Key_5, Qt.Key_6, Qt.Key_7])
                keyClick(key)
            confirm.forceActiveFocus()
            keyClick(Qt.Key_1)
            mouseClick(next)
            compare(view.flow.currentStep, 1)
            compare(Helpers.findNamed(view, "pinError").text, "PIN must be 4–6 digits")

            view.flow.pinInput = "12345"
            view.flow.pinConfirm = "12345"
            mouseClick(next)
            compare(view.flow.currentStep, 2)
            const cards = Helpers.findNamed(view, "themeCards")
            const names = []
            for (let i = 0; i < cards.children.length; ++i)
                if (cards.children[i].theme)
                    names.push(cards.children[i].theme)
            compare(names, ["live_blur", "av_dark", "minimal_dark"])
            mouseClick(Helpers.findNamed(view, "theme_av_dark"))
            compare(view.flow.selectedTheme, "av_dark")

            mouseClick(next)
            compare(view.flow.currentStep, 3)
            compare(next.text, "Get Started")
            mouseClick(back)
            compare(view.flow.currentStep, 2)
        }
    }
}
