import QtQuick

// A symbol of the lock screen by its name, drawn here so that it shows on any
// desktop whatever its icon theme.
Canvas {
    id: symbol

    property string name
    property real size: 16
    property color color: "white"

    implicitWidth: size
    implicitHeight: size
    renderStrategy: Canvas.Cooperative
    onColorChanged: requestPaint()
    onNameChanged: requestPaint()

    onPaint: {
        const ctx = getContext("2d")
        const s = width
        ctx.reset()
        ctx.strokeStyle = symbol.color
        ctx.fillStyle = symbol.color
        ctx.lineCap = "round"
        if (name === "touchid") {
            // Concentric open arcs: a fingerprint.
            ctx.lineWidth = Math.max(1, s / 18)
            for (let i = 1; i <= 4; ++i) {
                ctx.beginPath()
                ctx.arc(s / 2, s * 0.55, s * 0.11 * i, Math.PI * 1.1, Math.PI * (1.9 + i * 0.12))
                ctx.stroke()
            }
            ctx.beginPath()
            ctx.moveTo(s / 2, s * 0.55)
            ctx.lineTo(s / 2, s * 0.8)
            ctx.stroke()
        } else if (name.startsWith("lock")) {
            // A padlock; the warning variant has an exclamation mark cut out.
            ctx.lineWidth = Math.max(1.5, s / 9)
            ctx.beginPath()
            ctx.arc(s / 2, s * 0.4, s * 0.2, Math.PI, 0)
            ctx.lineTo(s * 0.7, s * 0.48)
            ctx.moveTo(s * 0.3, s * 0.48)
            ctx.lineTo(s * 0.3, s * 0.4)
            ctx.stroke()
            ctx.fillRect(s * 0.16, s * 0.46, s * 0.68, s * 0.46)
            if (name.indexOf("exclamationmark") >= 0) {
                ctx.clearRect(s * 0.46, s * 0.54, s * 0.08, s * 0.18)
                ctx.clearRect(s * 0.46, s * 0.76, s * 0.08, s * 0.08)
            }
        } else {
            ctx.beginPath()
            ctx.arc(s / 2, s / 2, s * 0.3, 0, Math.PI * 2)
            ctx.fill()
        }
    }
}
