#include "themes/imageblur.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {
// One box pass along rows (or columns) of premultiplied ARGB pixels; edges
// repeat their last pixel.
void boxPass(const QImage &src, QImage &dst, int radius, bool alongRows)
{
    const int lines = alongRows ? src.height() : src.width();
    const int length = alongRows ? src.width() : src.height();
    const qsizetype stride = src.bytesPerLine() / 4;
    const qsizetype lineStep = alongRows ? stride : 1;
    const qsizetype pixelStep = alongRows ? 1 : stride;
    const auto *inBase = reinterpret_cast<const QRgb *>(src.constBits());
    auto *outBase = reinterpret_cast<QRgb *>(dst.bits());
    const int window = 2 * radius + 1;
    for (int line = 0; line < lines; ++line) {
        const QRgb *in = inBase + line * lineStep;
        QRgb *out = outBase + line * lineStep;
        auto at = [&](int i) {
            return in[std::clamp(i, 0, length - 1) * pixelStep];
        };
        int sum[4] = {0, 0, 0, 0};
        auto add = [&](QRgb p, int sign) {
            sum[0] += sign * qAlpha(p);
            sum[1] += sign * qRed(p);
            sum[2] += sign * qGreen(p);
            sum[3] += sign * qBlue(p);
        };
        for (int i = -radius; i <= radius; ++i)
            add(at(i), 1);
        for (int i = 0; i < length; ++i) {
            out[i * pixelStep] =
                qRgba(sum[1] / window, sum[2] / window, sum[3] / window, sum[0] / window);
            add(at(i + radius + 1), 1);
            add(at(i - radius), -1);
        }
    }
}
} // namespace

namespace ImageBlur {
QImage coverScaled(const QImage &source, QSize cover, qreal scale)
{
    if (source.isNull() || cover.isEmpty() || scale <= 0)
        return {};
    const QSize target(std::max(1, qRound(cover.width() * scale)),
                       std::max(1, qRound(cover.height() * scale)));
    const QSize filled = source.size().scaled(target, Qt::KeepAspectRatioByExpanding);
    const QImage scaled = source.scaled(filled, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QRect middle((scaled.width() - target.width()) / 2,
                       (scaled.height() - target.height()) / 2, target.width(), target.height());
    return scaled.copy(middle);
}

QImage blurred(const QImage &source, qreal radius)
{
    if (source.isNull())
        return {};
    QImage image = source.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    // Three box passes of this size give about the Gaussian of `radius`.
    const int box = std::max(0, int(std::lround(radius / 2.0)));
    if (box == 0)
        return image;
    QImage scratch(image.size(), image.format());
    for (int pass = 0; pass < 3; ++pass) {
        boxPass(image, scratch, box, true);
        boxPass(scratch, image, box, false);
    }
    return image;
}
} // namespace ImageBlur
