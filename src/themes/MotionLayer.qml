import QtQuick
import Vostrel.Themes

// The slow rotating light over the backdrop: a conic gradient of the accent,
// enlarged 1.6 times about the centre and turned to `angle`. The gradient is
// made once at an eighth of the screen's resolution; turning it is a
// transform of that small texture, so a frame costs one textured quad.
Item {
    id: layer

    property color accent: "white"
    property real angle: 0

    function tinted(opacity) {
        return Qt.rgba(accent.r, accent.g, accent.b, accent.a * opacity)
    }

    ConicGradient {
        anchors.centerIn: parent
        width: layer.width
        height: layer.height
        resolution: 0.125
        scale: 1.6
        rotation: layer.angle
        colors: [layer.tinted(0.38), layer.tinted(0.1), "transparent", layer.tinted(0.22),
                 "transparent", layer.tinted(0.15)]
    }
}
