import QtQuick
import Vostrel.Themes

// Over the glass theme's base: a dimming layer, a glow that breathes and
// eight soft blobs drifting with the particle phase. Blob positions are drawn
// once, when the layers are built.
Item {
    id: glass

    property real breathe: 0
    property real particlePhase: 0

    Rectangle {
        anchors.fill: parent
        color: Qt.rgba(0, 0, 0, 0.2)
    }

    // White fading to clear at full strength, made weaker by the item's
    // opacity: the same as a gradient from white at that opacity.
    RadialGlow {
        anchors.fill: parent
        color: "white"
        startRadius: 50
        endRadius: 500
        opacity: 0.06 + 0.03 * glass.breathe
    }

    Repeater {
        model: 8
        // A white disc blurred by 20 points: full inside, fading over 20
        // points either side of its edge.
        RadialGlow {
            required property int index
            readonly property real diameter: 60 + 30 * index
            readonly property real offsetX: Math.random() * 600 - 300
            readonly property real offsetY: Math.random() * 600 - 300

            width: diameter + 80
            height: diameter + 80
            x: glass.width / 2 + offsetX - width / 2
            y: glass.height / 2 + offsetY + 15 * glass.particlePhase - height / 2
            resolution: 0.5
            color: "white"
            startRadius: Math.max(0, diameter / 2 - 20)
            endRadius: diameter / 2 + 20
            opacity: 0.02 + 0.003 * index
        }
    }
}
