import QtQuick
import QtQuick.Layouts
import Vostrel.Settings
import Vostrel.Themes

// The wordmark, the pages by group, and the version at the bottom. Clicking
// an entry selects its page.
Rectangle {
    id: sidebar

    required property string version
    required property SettingsNavigation navigation

    implicitWidth: SettingsStyle.sidebarWidth
    color: SettingsStyle.sidebar

    Rectangle {
        anchors.top: parent.top
        anchors.bottom: parent.bottom
        anchors.right: parent.right
        width: 1
        color: SettingsStyle.sidebarBorder
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.topMargin: 22
        anchors.bottomMargin: 16
        anchors.leftMargin: 12
        anchors.rightMargin: 12
        spacing: 2

        RowLayout {
            Layout.fillWidth: true
            Layout.leftMargin: 6
            Layout.bottomMargin: 18
            spacing: 10

            BrandLogoView {
                Layout.preferredWidth: 32
                Layout.preferredHeight: 32
            }
            ColumnLayout {
                Layout.fillWidth: true
                spacing: 1
                Text {
                    text: "VOSTREL"
                    color: SettingsStyle.wordmark
                    font.pixelSize: 13
                    font.weight: Font.Black
                    font.letterSpacing: 1.6
                }
                Text {
                    objectName: "sidebarTagline"
                    text: qsTr("Private cover. Awake computer.")
                    Layout.fillWidth: true
                    color: SettingsStyle.secondaryText
                    font.pixelSize: SettingsStyle.captionSize
                    wrapMode: Text.Wrap
                }
            }
        }

        Repeater {
            model: sidebar.navigation.groups

            ColumnLayout {
                id: group
                required property string modelData
                Layout.fillWidth: true
                Layout.bottomMargin: 12
                spacing: 2

                Text {
                    Layout.leftMargin: 10
                    Layout.bottomMargin: 4
                    text: group.modelData
                    color: SettingsStyle.tertiaryText
                    font.pixelSize: 10
                    font.weight: Font.DemiBold
                    font.letterSpacing: 0.8
                }

                Repeater {
                    model: sidebar.navigation.pagesInGroup(group.modelData)

                    Rectangle {
                        id: entry
                        required property var modelData
                        readonly property bool selected: sidebar.navigation.selectedPage === modelData.id
                        objectName: "sidebar_" + modelData.id
                        Layout.fillWidth: true
                        implicitHeight: 32
                        radius: 7
                        color: selected ? SettingsStyle.selection
                                        : (area.containsMouse ? SettingsStyle.hover : "transparent")

                        Accessible.role: Accessible.PageTab
                        Accessible.name: modelData.title
                        Accessible.onPressAction: sidebar.navigation.selectedPage = modelData.id

                        RowLayout {
                            anchors.fill: parent
                            anchors.leftMargin: 10
                            anchors.rightMargin: 10
                            spacing: 10
                            Symbol {
                                name: entry.modelData.symbol
                                size: 15
                                color: entry.selected ? SettingsStyle.accent : SettingsStyle.secondaryText
                            }
                            Text {
                                Layout.fillWidth: true
                                text: entry.modelData.title
                                color: SettingsStyle.text
                                font.pixelSize: SettingsStyle.bodySize
                                font.weight: entry.selected ? Font.DemiBold : Font.Normal
                                elide: Text.ElideRight
                            }
                        }

                        MouseArea {
                            id: area
                            anchors.fill: parent
                            hoverEnabled: true
                            cursorShape: Qt.PointingHandCursor
                            onClicked: sidebar.navigation.selectedPage = entry.modelData.id
                        }
                    }
                }
            }
        }

        Item { Layout.fillHeight: true }

        Text {
            objectName: "sidebarVersion"
            Layout.leftMargin: 10
            text: "v" + sidebar.version
            color: SettingsStyle.tertiaryText
            font.pixelSize: SettingsStyle.captionSize
        }
    }
}
