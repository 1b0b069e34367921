import QtQuick
import Vostrel.Themes

// Everything behind the lock-screen content of one screen: the theme's base
// and fixed layers and, when wanted, the rotating motion light. All of it is
// drawn from CPU-made textures, so it looks the same on the software scene
// graph, and nothing redraws between timeline ticks.
Item {
    id: backdrop

    // Raw value of the theme; an unknown one draws the default theme.
    property string theme: "live_blur"
    // "solid" or "gradient"; anything else counts as "gradient".
    property string fillMode: "gradient"
    // Whether the motion light may show: the caller folds in the reduce-motion
    // setting and the user's switch; the web themes never show it.
    property bool motion: true
    property string photoPath: ""
    property real liveBlurRadius: 15
    property bool liveBlurShowDesktop: false
    property string screenName: ""
    // The lock screen passes its own timeline so that its animations and
    // these layers change in the same frame; otherwise the backdrop runs one
    // while something in it moves.
    property AmbientTimeline timeline: ownTimeline
    // Resolution of the composed backdrop relative to the screen.
    property real layerResolution: 0.125

    readonly property var style: layers.style
    readonly property var glow: style.glow ? style.glow : null

    BackdropLayers {
        id: layers
        theme: backdrop.theme
        fillMode: backdrop.fillMode
        motion: backdrop.motion
        photoPath: backdrop.photoPath
    }

    AmbientTimeline {
        id: ownTimeline
        running: layers.needsTime && backdrop.timeline === ownTimeline
        interval: 700
    }

    // Everything smooth is drawn once into a texture at a fraction of the
    // screen's resolution and shown scaled up: a frame of the motion light
    // then redraws a few hundred pixels a side plus one full-screen quad,
    // instead of several full-screen layers.
    Item {
        id: composed
        anchors.fill: parent
        layer.enabled: true
        layer.smooth: true
        layer.textureSize: Qt.size(Math.max(1, Math.ceil(width * backdrop.layerResolution)),
                                   Math.max(1, Math.ceil(height * backdrop.layerResolution)))

        GradientFill {
            anchors.fill: parent
            visible: layers.baseShown
            stops: backdrop.style.stops
            diagonal: backdrop.style.diagonal
        }
        RadialGlow {
            anchors.fill: parent
            visible: layers.glowShown
            color: backdrop.glow ? backdrop.glow.color : "transparent"
            anchorX: backdrop.glow ? backdrop.glow.x : 0.5
            anchorY: backdrop.glow ? backdrop.glow.y : 0.5
            startRadius: backdrop.glow ? backdrop.glow.startRadius : 0
            endRadius: backdrop.glow ? backdrop.glow.endRadius : 0
        }

        Loader {
            anchors.fill: parent
            active: layers.liveBlurShown
            sourceComponent: LiveBlurBackdrop {
                radius: backdrop.liveBlurRadius
                showDesktop: backdrop.liveBlurShowDesktop
                fillMode: backdrop.fillMode
                screenName: backdrop.screenName
            }
        }

        Loader {
            anchors.fill: parent
            active: layers.photoShown
            sourceComponent: Item {
                BlurredImage {
                    id: photo
                    anchors.fill: parent
                    filePath: backdrop.photoPath
                    blurRadius: 20
                }
                Rectangle {
                    anchors.fill: parent
                    visible: photo.ready
                    color: Qt.rgba(0, 0, 0, 0.5)
                }
            }
        }

        Symbol {
            visible: layers.watermarkShown
            name: "person.fill"
            size: 300
            color: Qt.rgba(0, 0, 0, 0.04)
            rotation: -10
            x: backdrop.width / 2 + 200 - width / 2
            y: backdrop.height / 2 + 50 - height / 2
        }

        Loader {
            anchors.fill: parent
            active: layers.glassShown
            sourceComponent: GlassLayers {
                breathe: backdrop.timeline.breathe
                particlePhase: backdrop.timeline.particlePhase
            }
        }

        Loader {
            anchors.fill: parent
            active: layers.motionShown
            sourceComponent: MotionLayer {
                accent: layers.accentColor
                angle: backdrop.timeline.motionAngle
            }
        }
    }

    // The dots are a few points wide and would vanish at the reduced
    // resolution; twenty tiny rectangles cost next to nothing at full size.
    Loader {
        anchors.fill: parent
        active: layers.particlesShown
        sourceComponent: ParticleLayer {
            color: layers.accentColor
            particlePhase: backdrop.timeline.particlePhase
        }
    }
}
