import QtQuick
import QtQuick.Controls.Basic

// A pop-up menu of `choices` ([{label, value}]) showing `value`; choosing an
// entry emits picked(value). A stored value that no choice has shows empty.
ComboBox {
    id: control

    property var choices: []
    property var value
    signal picked(var value)

    model: choices
    textRole: "label"
    valueRole: "value"
    currentIndex: choices.findIndex(choice => choice.value === value)
    implicitWidth: 140
    implicitHeight: 28
    font.pixelSize: 13
    onActivated: index => {
        control.picked(control.choices[index].value)
        currentIndex = Qt.binding(() => control.choices.findIndex(choice => choice.value === control.value))
    }

    contentItem: Text {
        leftPadding: 10
        rightPadding: 24
        text: control.displayText
        font: control.font
        color: SettingsStyle.text
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
    }
    indicator: Text {
        x: control.width - width - 9
        y: (control.height - height) / 2
        text: "⌄"
        color: SettingsStyle.secondaryText
        font.pixelSize: 13
    }
    background: Rectangle {
        radius: 7
        color: SettingsStyle.control
        border.color: control.visualFocus ? SettingsStyle.accent : SettingsStyle.controlBorder
        border.width: 1
    }
    delegate: ItemDelegate {
        id: entry
        required property var modelData
        required property int index
        width: ListView.view ? ListView.view.width : control.width
        height: 28
        highlighted: control.highlightedIndex === index
        contentItem: Text {
            text: entry.modelData.label
            color: entry.highlighted ? SettingsStyle.accentText : SettingsStyle.text
            font.pixelSize: 13
            verticalAlignment: Text.AlignVCenter
        }
        background: Rectangle {
            radius: 5
            color: entry.highlighted ? SettingsStyle.accent : "transparent"
        }
    }
    popup: Popup {
        y: control.height + 2
        width: control.width
        implicitHeight: contentItem.implicitHeight + 8
        padding: 4
        contentItem: ListView {
            clip: true
            implicitHeight: contentHeight
            model: control.popup.visible ? control.delegateModel : null
            currentIndex: control.highlightedIndex
        }
        background: Rectangle {
            radius: 8
            color: SettingsStyle.card
            border.color: SettingsStyle.cardBorder
        }
    }
}
