import QtQuick
import Vostrel.Themes

// The live-blur theme: the frosted desktop of this screen under the live
// scrim, when the user opted in and a capture exists; otherwise the dark
// fallback gradient under its own, darker scrim.
Item {
    id: root

    property real radius: 15
    property bool showDesktop: false
    property string fillMode: "gradient"
    // QScreen::name() of the screen this backdrop covers.
    property string screenName: ""

    readonly property bool showingDesktop: showDesktop && desktop.ready
    readonly property var fallbackStyle: ThemeCatalog.liveBlurFallback(fillMode)

    GradientFill {
        anchors.fill: parent
        visible: !root.showingDesktop
        stops: root.fallbackStyle.stops
        diagonal: root.fallbackStyle.diagonal
    }
    Rectangle {
        anchors.fill: parent
        visible: !root.showingDesktop
        color: "black"
        opacity: ThemeCatalog.fallbackScrimOpacity(root.radius)
    }

    BlurredImage {
        id: desktop
        anchors.fill: parent
        screenName: root.showDesktop ? root.screenName : ""
    }
    Rectangle {
        anchors.fill: parent
        visible: root.showingDesktop
        color: "black"
        opacity: ThemeCatalog.liveScrimOpacity(root.radius)
    }
    GradientFill {
        anchors.fill: parent
        visible: root.showingDesktop
        diagonal: false
        stops: [Qt.rgba(0, 0, 0, 0.05), Qt.rgba(0, 0, 0, 0.15)]
    }
}
