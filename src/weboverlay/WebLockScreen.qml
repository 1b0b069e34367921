import QtQuick
import Vostrel.WebOverlay

// The custom HTML or website lock screen, filling whatever it is placed in:
// the page (or nothing, for an HTML path that names no file) or the
// placeholder of the theme. It draws no background, so the backdrop under it
// shows wherever the page is transparent. The web engine starts only while a
// page is shown.
Item {
    id: root

    // The raw value of the theme: "custom_html" or "custom_website".
    property string theme
    // ThemeManager.customHTMLPath; "" for none.
    property string htmlPath
    // ThemeManager.customWebsiteURL as typed; the URL rule is applied here.
    property string websiteURL
    // An object with verifyPIN(string) → bool: PINManager.
    property QtObject pinVerifier
    // The colour the placeholder's texts derive from.
    property color textColor: Qt.rgba(1, 1, 1, 0.95)

    readonly property alias pageURL: bridge.pageURL
    readonly property alias showsPlaceholder: bridge.showsPlaceholder
    // The WebEngineView while a page is shown, else null.
    readonly property Item page: pageLoader.item

    // The page asked to unlock with the right PIN.
    signal unlocked()

    WebOverlayBridge {
        id: bridge
        theme: root.theme
        htmlPath: root.htmlPath
        websiteURL: root.websiteURL
        pinVerifier: root.pinVerifier
        onUnlocked: root.unlocked()
    }

    Loader {
        id: pageLoader

        readonly property bool wanted: bridge.pageURL.toString() !== ""

        anchors.fill: parent
        // Not a component of this file: QtWebEngine is imported only once a
        // page is shown.
        function update() {
            if (wanted && !item)
                setSource(Qt.resolvedUrl("WebPage.qml"), { bridge: bridge })
            else if (!wanted)
                source = ""
        }
        onWantedChanged: update()
        Component.onCompleted: update()
    }

    WebPlaceholder {
        anchors.centerIn: parent
        visible: bridge.showsPlaceholder
        symbol: bridge.placeholderSymbol
        title: bridge.placeholderTitle
        hint: bridge.placeholderHint
        textColor: root.textColor
    }
}
