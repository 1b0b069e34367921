import QtQuick
import QtQuick.Layouts
import Vostrel.Settings
import Vostrel.Themes

// First use in four steps. The flow holds the state and decides; this lays
// the steps out and animates between them.
Rectangle {
    id: view

    required property OnboardingFlow flow
    required property SettingsAppearance appearance
    property bool fadeIn: false

    implicitWidth: 560
    implicitHeight: 480
    color: SettingsStyle.window

    Binding {
        target: SettingsStyle
        property: "dark"
        value: view.appearance ? view.appearance.dark : false
    }

    Item {
        anchors.fill: parent
        opacity: view.fadeIn ? 1 : 0
        Behavior on opacity { NumberAnimation { duration: 500; easing.type: Easing.OutCubic } }
        Component.onCompleted: view.fadeIn = true

        Text {
            objectName: "pinNeededLine"
            anchors.top: parent.top
            anchors.topMargin: 16
            anchors.horizontalCenter: parent.horizontalCenter
            visible: view.flow.pinNeeded && view.flow.currentStep <= 1
            text: qsTr("Vostrel needs a PIN before it can lock the screen.")
            color: SettingsStyle.accent
            font.pixelSize: 13
            font.weight: Font.Medium
        }

        Item {
            id: stepArea
            anchors.top: parent.top
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.bottom: footer.top
            anchors.margins: 40

            Repeater {
                model: [welcome, pinStep, themeStep, doneStep]
                Loader {
                    required property var modelData
                    required property int index
                    objectName: "step" + index
                    anchors.fill: parent
                    active: view.flow.currentStep === index
                    visible: active
                    sourceComponent: modelData
                    opacity: active ? 1 : 0
                    Behavior on opacity { NumberAnimation { duration: 250; easing.type: Easing.InOutQuad } }
                }
            }
        }

        RowLayout {
            id: footer
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.bottom: parent.bottom
            anchors.leftMargin: 40
            anchors.rightMargin: 40
            anchors.bottomMargin: 28
            height: 32

            Row {
                objectName: "stepDots"
                spacing: 6
                Layout.alignment: Qt.AlignVCenter
                Repeater {
                    model: view.flow.totalSteps
                    Rectangle {
                        required property int index
                        width: 7
                        height: 7
                        radius: 3.5
                        color: index === view.flow.currentStep ? SettingsStyle.success
                                                               : Qt.rgba(SettingsStyle.secondaryText.r,
                                                                         SettingsStyle.secondaryText.g,
                                                                         SettingsStyle.secondaryText.b, 0.3)
                    }
                }
            }
            Item { Layout.fillWidth: true }
            SettingsButton {
                objectName: "backButton"
                visible: view.flow.currentStep >= 1
                text: qsTr("Back")
                onClicked: view.flow.goBack()
            }
            SettingsButton {
                objectName: "continueButton"
                prominent: true
                text: view.flow.isLastStep ? qsTr("Get Started") : qsTr("Continue")
                onClicked: view.flow.advance()
            }
        }
    }

    Component {
        id: welcome
        ColumnLayout {
            spacing: 24
            Item { Layout.fillHeight: true }
            BrandLogoView {
                Layout.alignment: Qt.AlignHCenter
                Layout.preferredWidth: 72
                Layout.preferredHeight: 72
            }
            ColumnLayout {
                Layout.alignment: Qt.AlignHCenter
                spacing: 8
                Text {
                    Layout.alignment: Qt.AlignHCenter
                    text: "VOSTREL"
                    color: SettingsStyle.wordmark
                    font.pixelSize: 11
                    font.weight: Font.Black
                    font.letterSpacing: 1
                }
                Text {
                    Layout.alignment: Qt.AlignHCenter
                    text: qsTr("Welcome")
                    color: SettingsStyle.text
                    font.pixelSize: 28
                    font.bold: true
                }
            }
            Text {
                Layout.alignment: Qt.AlignHCenter
                text: qsTr("Privacy overlay for your computer.\nYour tasks never stop.")
                color: SettingsStyle.secondaryText
                font.pixelSize: 15
                horizontalAlignment: Text.AlignHCenter
                lineHeight: 1.2
            }
            Item { Layout.fillHeight: true }
        }
    }

    Component {
        id: pinStep
        ColumnLayout {
            spacing: 24
            Item { Layout.fillHeight: true }
            Symbol {
                Layout.alignment: Qt.AlignHCenter
                name: "lock.shield.fill"
                size: 40
                color: SettingsStyle.accent
            }
            ColumnLayout {
                Layout.alignment: Qt.AlignHCenter
                spacing: 8
                Text {
                    Layout.alignment: Qt.AlignHCenter
                    text: qsTr("Set Your PIN")
                    color: SettingsStyle.text
                    font.pixelSize: 24
                    font.bold: true
                }
                Text {
                    Layout.alignment: Qt.AlignHCenter
                    text: qsTr("Choose a 4–6 digit PIN to unlock your overlay.")
                    color: SettingsStyle.secondaryText
                    font.pixelSize: 14
                }
            }
            ColumnLayout {
                Layout.alignment: Qt.AlignHCenter
                spacing: 10
                SettingsTextField {
                    objectName: "pinInputField"
                    Layout.preferredWidth: 200
                    masked: true
                    placeholderText: qsTr("Enter PIN")
                    inputMethodHints: Qt.ImhDigitsOnly | Qt.ImhSensitiveData | Qt.ImhNoPredictiveText
                    text: view.flow.pinInput
                    onTextEdited: view.flow.pinInput = text
                    onAccepted: confirmField.forceActiveFocus()
                    Component.onCompleted: forceActiveFocus()
                }
                SettingsTextField {
                    id: confirmField
                    objectName: "pinConfirmField"
                    Layout.preferredWidth: 200
                    masked: true
                    placeholderText: qsTr("Confirm PIN")
                    inputMethodHints: Qt.ImhDigitsOnly | Qt.ImhSensitiveData | Qt.ImhNoPredictiveText
                    text: view.flow.pinConfirm
                    onTextEdited: view.flow.pinConfirm = text
                    onAccepted: view.flow.advance()
                }
                Text {
                    objectName: "pinError"
                    Layout.alignment: Qt.AlignHCenter
                    Layout.preferredHeight: 16
                    text: view.flow.pinError
                    color: SettingsStyle.error
                    font.pixelSize: 12
                }
            }
            Item { Layout.fillHeight: true }
        }
    }

    Component {
        id: themeStep
        ColumnLayout {
            spacing: 24
            Item { Layout.fillHeight: true }
            Symbol {
                Layout.alignment: Qt.AlignHCenter
                name: "paintpalette.fill"
                size: 40
                color: SettingsStyle.accent
            }
            ColumnLayout {
                Layout.alignment: Qt.AlignHCenter
                spacing: 8
                Text {
                    Layout.alignment: Qt.AlignHCenter
                    text: qsTr("Choose Your Theme")
                    color: SettingsStyle.text
                    font.pixelSize: 24
                    font.bold: true
                }
                Text {
                    Layout.alignment: Qt.AlignHCenter
                    text: qsTr("Pick how your lock screen looks. You can change this later.")
                    color: SettingsStyle.secondaryText
                    font.pixelSize: 14
                }
            }
            Row {
                objectName: "themeCards"
                Layout.alignment: Qt.AlignHCenter
                spacing: 16
                Repeater {
                    model: view.flow.themeChoices
                    OnboardingThemeCard {
                        required property string modelData
                        objectName: "theme_" + modelData
                        theme: modelData
                        selected: view.flow.selectedTheme === modelData
                        onChosen: view.flow.selectedTheme = modelData
                    }
                }
            }
            Item { Layout.fillHeight: true }
        }
    }

    Component {
        id: doneStep
        ColumnLayout {
            spacing: 24
            Item { Layout.fillHeight: true }
            Rectangle {
                Layout.alignment: Qt.AlignHCenter
                implicitWidth: 80
                implicitHeight: 80
                radius: 40
                color: Qt.rgba(SettingsStyle.success.r, SettingsStyle.success.g, SettingsStyle.success.b, 0.12)
                Symbol {
                    anchors.centerIn: parent
                    name: "checkmark"
                    size: 36
                    color: SettingsStyle.success
                }
            }
            Text {
                Layout.alignment: Qt.AlignHCenter
                text: qsTr("You're All Set")
                color: SettingsStyle.text
                font.pixelSize: 28
                font.bold: true
            }
            ColumnLayout {
                Layout.alignment: Qt.AlignHCenter
                Layout.preferredWidth: 300
                spacing: 12
                Repeater {
                    model: [
                        { symbol: "command", text: qsTr("Press %1 to lock your screen").arg(view.flow.lockHotkey) },
                        { symbol: "number", text: qsTr("Type your PIN to unlock") },
                        { symbol: "gearshape", text: qsTr("Click the tray icon for settings") }
                    ]
                    RowLayout {
                        required property var modelData
                        spacing: 0
                        Item {
                            Layout.preferredWidth: 28
                            Layout.preferredHeight: 20
                            Symbol {
                                anchors.centerIn: parent
                                name: modelData.symbol
                                size: 14
                                color: SettingsStyle.accent
                            }
                        }
                        Text {
                            Layout.fillWidth: true
                            text: modelData.text
                            color: SettingsStyle.text
                            font.pixelSize: 14
                        }
                    }
                }
            }
            Item { Layout.fillHeight: true }
        }
    }
}
