import QtQuick
import QtQuick.Layouts

// A hairline between two items of a card that are not rows.
Rectangle {
    Layout.fillWidth: true
    Layout.leftMargin: 16
    Layout.rightMargin: 16
    implicitHeight: 1
    color: SettingsStyle.separator
}
