import QtQuick

// The one clock behind everything that moves on the lock screen. Each tick
// sets all values at once, so that one tick costs one frame however many
// things move; the rate is low because every frame redraws whole screens on
// a software rasteriser.
QtObject {
    id: timeline

    property bool running: false
    // Milliseconds between ticks; never below a thirtieth of a second.
    property int interval: 100

    // Seconds since 1 January 2001 UTC, the reference the motion layer's
    // turn is counted from.
    readonly property real referenceSeconds: now / 1000 - 978307200
    // One full clockwise turn every 40 s.
    readonly property real motionAngle: (referenceSeconds / 40 % 1) * 360
    // Since the timeline started; all three rest at 0 while it is stopped.
    readonly property real flaskRotation: elapsed / 20 % 1 * 360
    readonly property real particlePhase: pingPong(elapsed, 3)
    readonly property real breathe: pingPong(elapsed, 4)

    property real now: Date.now()
    property real elapsed: 0
    property real startedAt: 0

    // Eases in and out from 0 to 1 over `half` seconds, then back.
    function pingPong(t, half) {
        const u = t / half % 2
        const x = u < 1 ? u : 2 - u
        return (1 - Math.cos(Math.PI * x)) / 2
    }

    function tick() {
        now = Date.now()
        elapsed = running ? (now - startedAt) / 1000 : 0
    }

    onRunningChanged: {
        startedAt = Date.now()
        tick()
    }

    property Timer driver: Timer {
        interval: Math.max(33, timeline.interval)
        repeat: true
        running: timeline.running
        onTriggered: timeline.tick()
    }
}
