import QtQuick
import QtQuick.Layouts
import Vostrel.Settings

// Stands in for a page that is not built yet.
SettingsPageContainer {
    id: page

    property var pageInfo: ({})

    title: pageInfo.title || ""
    subtitle: pageInfo.subtitle || ""

    SettingsCard {
        SettingsRow {
            objectName: "comingRow"
            icon: page.pageInfo.symbol || "info.circle.fill"
            iconColor: SettingsStyle.grey
            title: qsTr("Coming")
            subtitle: qsTr("These settings are on their way.")
        }
    }
}
