import QtQuick

// The panel's symbols by name ("lock.fill", "clock", "gear" ...), drawn here
// until the shared symbol table can be used; the names stay the same.
Canvas {
    id: symbol

    property string name
    property real size: 16
    property color color: "black"

    implicitWidth: size
    implicitHeight: size
    renderStrategy: Canvas.Cooperative
    onColorChanged: requestPaint()
    onNameChanged: requestPaint()
    onWidthChanged: requestPaint()

    function circle(ctx, x, y, r) {
        ctx.beginPath()
        ctx.arc(x, y, r, 0, Math.PI * 2)
        ctx.stroke()
    }

    function clockHands(ctx, s) {
        ctx.beginPath()
        ctx.moveTo(s * 0.5, s * 0.28)
        ctx.lineTo(s * 0.5, s * 0.5)
        ctx.lineTo(s * 0.66, s * 0.6)
        ctx.stroke()
    }

    onPaint: {
        const ctx = getContext("2d")
        const s = width
        ctx.reset()
        ctx.strokeStyle = symbol.color
        ctx.fillStyle = symbol.color
        ctx.lineCap = "round"
        ctx.lineJoin = "round"
        ctx.lineWidth = Math.max(1.3, s / 11)
        switch (name) {
        case "infinity":
            ctx.beginPath()
            ctx.moveTo(s * 0.5, s * 0.5)
            ctx.bezierCurveTo(s * 0.32, s * 0.22, s * 0.06, s * 0.3, s * 0.06, s * 0.5)
            ctx.bezierCurveTo(s * 0.06, s * 0.7, s * 0.32, s * 0.78, s * 0.5, s * 0.5)
            ctx.bezierCurveTo(s * 0.68, s * 0.22, s * 0.94, s * 0.3, s * 0.94, s * 0.5)
            ctx.bezierCurveTo(s * 0.94, s * 0.7, s * 0.68, s * 0.78, s * 0.5, s * 0.5)
            ctx.stroke()
            break
        case "clock":
            circle(ctx, s / 2, s / 2, s * 0.4)
            clockHands(ctx, s)
            break
        case "clock.arrow.circlepath":
            ctx.beginPath()
            ctx.arc(s / 2, s / 2, s * 0.4, Math.PI * 0.95, Math.PI * 2.6)
            ctx.stroke()
            ctx.beginPath()
            ctx.moveTo(s * 0.06, s * 0.3)
            ctx.lineTo(s * 0.1, s * 0.5)
            ctx.lineTo(s * 0.3, s * 0.44)
            ctx.stroke()
            clockHands(ctx, s)
            break
        case "stop.circle":
            circle(ctx, s / 2, s / 2, s * 0.42)
            ctx.fillRect(s * 0.34, s * 0.34, s * 0.32, s * 0.32)
            break
        case "lock.fill":
        case "lock.open":
            ctx.beginPath()
            if (name === "lock.fill") {
                ctx.moveTo(s * 0.3, s * 0.46)
                ctx.lineTo(s * 0.3, s * 0.32)
                ctx.arc(s / 2, s * 0.32, s * 0.2, Math.PI, 0)
                ctx.lineTo(s * 0.7, s * 0.46)
            } else {
                ctx.moveTo(s * 0.3, s * 0.46)
                ctx.lineTo(s * 0.3, s * 0.22)
                ctx.arc(s / 2, s * 0.22, s * 0.2, Math.PI, 0)
                ctx.lineTo(s * 0.7, s * 0.28)
            }
            ctx.stroke()
            ctx.beginPath()
            ctx.roundedRect(s * 0.16, s * 0.44, s * 0.68, s * 0.48, s * 0.1, s * 0.1)
            ctx.fill()
            break
        case "gear": {
            const teeth = 8
            ctx.beginPath()
            for (let i = 0; i < teeth * 2; ++i) {
                const a = i * Math.PI / teeth
                const r = (i % 2 === 0) ? s * 0.46 : s * 0.34
                const a0 = a - Math.PI / teeth / 2
                const a1 = a + Math.PI / teeth / 2
                if (i === 0)
                    ctx.moveTo(s / 2 + r * Math.cos(a0), s / 2 + r * Math.sin(a0))
                else
                    ctx.lineTo(s / 2 + r * Math.cos(a0), s / 2 + r * Math.sin(a0))
                ctx.lineTo(s / 2 + r * Math.cos(a1), s / 2 + r * Math.sin(a1))
            }
            ctx.closePath()
            ctx.stroke()
            circle(ctx, s / 2, s / 2, s * 0.13)
            break
        }
        case "info.circle":
            circle(ctx, s / 2, s / 2, s * 0.42)
            ctx.beginPath()
            ctx.moveTo(s * 0.5, s * 0.46)
            ctx.lineTo(s * 0.5, s * 0.72)
            ctx.stroke()
            ctx.beginPath()
            ctx.arc(s * 0.5, s * 0.31, s * 0.06, 0, Math.PI * 2)
            ctx.fill()
            break
        case "power":
            ctx.beginPath()
            ctx.arc(s / 2, s * 0.54, s * 0.36, -Math.PI * 0.3, Math.PI * 1.3)
            ctx.stroke()
            ctx.beginPath()
            ctx.moveTo(s * 0.5, s * 0.08)
            ctx.lineTo(s * 0.5, s * 0.48)
            ctx.stroke()
            break
        default:
            ctx.beginPath()
            ctx.arc(s / 2, s / 2, s * 0.2, 0, Math.PI * 2)
            ctx.fill()
        }
    }
}
