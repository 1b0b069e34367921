import QtQuick

// The dark lab theme's twenty drifting dots. Positions and sizes are drawn
// once, when the layer is built.
Item {
    id: particles

    property color color: "#34c759"
    property real particlePhase: 0

    Repeater {
        model: 20
        Rectangle {
            required property int index
            readonly property real offsetX: Math.random() * 1000 - 500
            readonly property real offsetY: Math.random() * 800 - 400
            readonly property real dotSize: 2 + Math.random() * 4

            width: dotSize
            height: dotSize
            radius: dotSize / 2
            x: particles.width / 2 + offsetX - width / 2
            y: particles.height / 2 + offsetY + 20 * particles.particlePhase - height / 2
            color: Qt.rgba(particles.color.r, particles.color.g, particles.color.b,
                           0.03 + 0.002 * index)
        }
    }
}
