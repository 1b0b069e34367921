import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts

// A settings page: its title and subtitle above content that scrolls. Cards
// declared inside stack top to bottom, 20 apart.
Item {
    id: container

    property string title
    property string subtitle
    default property alias content: column.data
    readonly property string settingsKind: "page"
    readonly property alias flickable: scroller

    Column {
        id: header
        anchors.top: parent.top
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.topMargin: 28
        anchors.leftMargin: SettingsStyle.pagePadding
        anchors.rightMargin: SettingsStyle.pagePadding
        spacing: 4

        Text {
            width: parent.width
            text: container.title
            color: SettingsStyle.text
            font.pixelSize: SettingsStyle.titleSize
            font.weight: Font.Bold
            elide: Text.ElideRight
            Accessible.role: Accessible.Heading
        }
        Text {
            width: parent.width
            visible: container.subtitle.length > 0
            text: container.subtitle
            color: SettingsStyle.secondaryText
            font.pixelSize: SettingsStyle.bodySize
            wrapMode: Text.Wrap
        }
    }

    Flickable {
        id: scroller
        anchors.top: header.bottom
        anchors.topMargin: 20
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        contentWidth: width
        contentHeight: column.implicitHeight + 32
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        ScrollBar.vertical: ScrollBar { policy: ScrollBar.AsNeeded }

        ColumnLayout {
            id: column
            x: SettingsStyle.pagePadding
            width: Math.min(scroller.width - 2 * SettingsStyle.pagePadding, 760)
            spacing: 20
        }
    }
}
