#include "themes/desktopcapture.h"

#include "platform/screencapture.h"
#include "themes/imageblur.h"

#include <QPainter>
#include <QScreen>

DesktopCapture::DesktopCapture(ScreenCapture &capture, QObject *parent)
    : QObject(parent)
    , m_capture(capture)
{}

QImage DesktopCapture::frost(const QImage &capture)
{
    if (capture.isNull() || capture.width() <= 0)
        return {};
    const qreal scale = std::min<qreal>(1.0, qreal(storedWidth) / capture.width());
    QImage image =
        ImageBlur::blurred(ImageBlur::coverScaled(capture, capture.size(), scale), blurRadius);
    QPainter painter(&image);
    painter.fillRect(image.rect(), QColor::fromRgbF(0, 0, 0, float(materialDim)));
    return image;
}

bool DesktopCapture::captureScreen(QScreen *screen)
{
    if (!screen)
        return false;
    const QString name = screen->name();
    const QImage frosted = frost(m_capture.capture(screen));
    if (frosted.isNull()) {
        if (m_images.remove(name) > 0)
            Q_EMIT imageChanged(name);
        return false;
    }
    m_images.insert(name, frosted);
    Q_EMIT imageChanged(name);
    return true;
}

void DesktopCapture::clear()
{
    const QStringList names = m_images.keys();
    m_images.clear();
    for (const QString &name : names)
        Q_EMIT imageChanged(name);
}

QImage DesktopCapture::frostedImage(const QString &screenName) const
{
    return m_images.value(screenName);
}

bool DesktopCapture::hasImage(const QString &screenName) const
{
    return m_images.contains(screenName);
}
