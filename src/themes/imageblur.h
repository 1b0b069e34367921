#pragma once

#include <QImage>
#include <QSize>

// Frosted pictures made cheaply: the picture is first shrunk, so that the blur
// runs on a few hundred pixels a side and the result can be drawn scaled up by
// the scene graph. A Gaussian is approximated by three box passes.
namespace ImageBlur {
// The source cropped to the aspect ratio of `cover` and scaled to fill it
// (the middle is kept), at `scale` times that size.
[[nodiscard]] QImage coverScaled(const QImage &source, QSize cover, qreal scale);
// Blurs in place-size terms: `radius` is in the image's own pixels.
[[nodiscard]] QImage blurred(const QImage &source, qreal radius);
} // namespace ImageBlur
