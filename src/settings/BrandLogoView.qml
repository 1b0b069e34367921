import QtQuick
import QtQuick.Window

// Vostrel's logo, drawn from its SVG at the size it is given.
Item {
    id: logo

    implicitWidth: 64
    implicitHeight: 64
    Accessible.role: Accessible.Graphic
    Accessible.name: "Vostrel"

    Image {
        anchors.fill: parent
        source: "qrc:/vostrel/vostrel.svg"
        sourceSize.width: Math.ceil(logo.width * Screen.devicePixelRatio)
        sourceSize.height: Math.ceil(logo.height * Screen.devicePixelRatio)
        fillMode: Image.PreserveAspectFit
        smooth: true
    }
}
