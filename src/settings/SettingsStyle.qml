pragma Singleton
import QtQuick

// Colours and sizes shared by every settings page and onboarding. The window
// sets `dark` from its appearance; everything else follows.
QtObject {
    property bool dark: false

    readonly property color window: dark ? "#1c1b21" : "#f4f3f7"
    readonly property color sidebar: dark ? "#232229" : "#ebe9f0"
    readonly property color sidebarBorder: dark ? "#34323c" : "#dcd9e3"
    readonly property color card: dark ? "#2a2931" : "#ffffff"
    readonly property color cardBorder: dark ? "#3a3843" : "#e1dee8"
    readonly property color separator: dark ? Qt.rgba(1, 1, 1, 0.09) : Qt.rgba(0, 0, 0, 0.08)
    readonly property color text: dark ? "#f2f0f7" : "#1d1b22"
    readonly property color secondaryText: dark ? Qt.rgba(1, 1, 1, 0.62) : Qt.rgba(0, 0, 0, 0.58)
    readonly property color tertiaryText: dark ? Qt.rgba(1, 1, 1, 0.42) : Qt.rgba(0, 0, 0, 0.42)
    readonly property color accent: dark ? "#8f7cf0" : "#5b45c9"
    readonly property color accentText: "#ffffff"
    readonly property color selection: dark ? Qt.rgba(0.56, 0.49, 0.94, 0.24) : Qt.rgba(0.36, 0.27, 0.79, 0.13)
    readonly property color hover: dark ? Qt.rgba(1, 1, 1, 0.06) : Qt.rgba(0, 0, 0, 0.045)
    readonly property color control: dark ? "#3a3843" : "#ffffff"
    readonly property color controlBorder: dark ? "#4b4856" : "#cfccd8"
    readonly property color field: dark ? "#1f1e25" : "#ffffff"
    readonly property color switchOff: dark ? "#4a4754" : "#d3d0db"
    readonly property color link: dark ? "#7fb2ff" : "#1f6fd6"
    readonly property color wordmark: dark ? "#d8cff7" : Qt.rgba(0.1, 0.075, 0.2, 1)
    readonly property color success: dark ? "#4cc38a" : "#1f9d5c"
    readonly property color error: dark ? "#ff6b64" : "#d2342c"
    readonly property color warning: dark ? "#ffae4d" : "#d9730d"

    // Icon colours of the rows, readable on both backgrounds.
    readonly property color blue: "#3b82f6"
    readonly property color green: "#22a861"
    readonly property color grey: "#8a8794"
    readonly property color indigo: "#5e5ce6"
    readonly property color orange: "#f08a24"
    readonly property color pink: "#e84a8a"
    readonly property color red: "#e5483f"
    readonly property color purple: "#8b5cf6"
    readonly property color teal: "#14a3a3"
    readonly property color mint: "#1fb89a"
    readonly property color cyan: "#1ba6d4"

    readonly property int sidebarWidth: 220
    readonly property int cardRadius: 10
    readonly property int pagePadding: 32
    readonly property int titleSize: 22
    readonly property int bodySize: 13
    readonly property int captionSize: 11
}
