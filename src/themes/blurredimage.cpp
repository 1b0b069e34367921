#include "themes/blurredimage.h"

#include "core/qmlinstances.h"
#include "themes/desktopcapture.h"
#include "themes/imageblur.h"
#include "themes/themeslog.h"

#include <QImageReader>

namespace {
// Photos are decoded no larger than this: they are blurred and scaled up
// anyway, and a camera's full frame would stall the lock for a moment.
constexpr int maxDecodedSide = 1024;
} // namespace

BlurredImage::BlurredImage(QQuickItem *parent)
    : TextureItem(parent)
{}

void BlurredImage::setCapture(DesktopCapture &capture)
{
    if (m_capture == &capture)
        return;
    if (m_capture)
        disconnect(m_capture, nullptr, this, nullptr);
    m_capture = &capture;
    connect(m_capture, &DesktopCapture::imageChanged, this, [this](const QString &name) {
        if (name == m_screenName)
            invalidate();
    });
    invalidate();
}

void BlurredImage::componentComplete()
{
    TextureItem::componentComplete();
    if (!m_capture)
        setCapture(QmlInstances::of<DesktopCapture>(qmlEngine(this)));
}

void BlurredImage::setFilePath(const QString &path)
{
    if (path == m_filePath)
        return;
    m_filePath = path;
    reload();
    Q_EMIT filePathChanged();
    invalidate();
}

void BlurredImage::setScreenName(const QString &name)
{
    if (name == m_screenName)
        return;
    m_screenName = name;
    Q_EMIT screenNameChanged();
    invalidate();
}

void BlurredImage::setBlurRadius(qreal radius)
{
    if (!(radius >= 0) || radius == m_blurRadius)
        return;
    m_blurRadius = radius;
    Q_EMIT blurRadiusChanged();
    invalidate();
}

void BlurredImage::setReady(bool ready)
{
    if (ready == m_ready)
        return;
    m_ready = ready;
    Q_EMIT readyChanged();
}

void BlurredImage::reload()
{
    m_source = {};
    if (m_filePath.isEmpty())
        return;
    QImageReader reader(m_filePath);
    reader.setAutoTransform(true);
    const QSize full = reader.size();
    if (full.isValid() && std::max(full.width(), full.height()) > maxDecodedSide)
        reader.setScaledSize(full.scaled(maxDecodedSide, maxDecodedSide, Qt::KeepAspectRatio));
    m_source = reader.read();
    if (m_source.isNull()) {
        qCWarning(lcThemes, "BlurredImage: cannot show \"%s\": %s", qPrintable(m_filePath),
                  qPrintable(reader.errorString()));
    }
}

void BlurredImage::updatePolish()
{
    TextureItem::updatePolish();
    setReady(!image().isNull());
}

QImage BlurredImage::render(QSizeF size, qreal pixelsPerPoint) const
{
    if (!m_screenName.isEmpty())
        return m_capture ? m_capture->frostedImage(m_screenName) : QImage();
    if (m_source.isNull())
        return {};
    const QSize cover = size.toSize();
    const QImage small = ImageBlur::coverScaled(m_source, cover, pixelsPerPoint);
    return ImageBlur::blurred(small, m_blurRadius * pixelsPerPoint);
}
