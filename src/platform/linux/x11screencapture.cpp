#include "platform/linux/x11screencapture.h"

#include <QGuiApplication>
#include <QScreen>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace {
struct FreeDeleter
{
    void operator()(void *p) const { std::free(p); }
};
} // namespace

QImage X11ScreenCapture::capture(QScreen *screen)
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!screen || !connection || xcb_connection_has_error(connection))
        return {};

    const xcb_setup_t *setup = xcb_get_setup(connection);
    xcb_screen_t *xscreen = xcb_setup_roots_iterator(setup).data;
    if (!xscreen)
        return {};
    // RandR monitors of one X screen share its root; the monitor is a
    // rectangle of it, in device pixels.
    const QRect logical = screen->geometry();
    const qreal ratio = screen->devicePixelRatio();
    const QRect area(QPoint(qRound(logical.x() * ratio), qRound(logical.y() * ratio)),
                     QSize(qRound(logical.width() * ratio), qRound(logical.height() * ratio)));
    const QRect rootArea(0, 0, xscreen->width_in_pixels, xscreen->height_in_pixels);
    const QRect wanted = area.intersected(rootArea);
    if (wanted.isEmpty())
        return {};

    xcb_generic_error_t *error = nullptr;
    const auto cookie = xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, xscreen->root,
                                      int16_t(wanted.x()), int16_t(wanted.y()),
                                      uint16_t(wanted.width()), uint16_t(wanted.height()), ~0u);
    std::unique_ptr<xcb_get_image_reply_t, FreeDeleter> reply(
        xcb_get_image_reply(connection, cookie, &error));
    std::unique_ptr<xcb_generic_error_t, FreeDeleter> errorHolder(error);
    if (!reply || error)
        return {};

    // Only the common true-colour layout is understood: 24 or 32 bits deep,
    // four bytes a pixel, in the byte order QImage calls RGB32 on this host.
    const int length = xcb_get_image_data_length(reply.get());
    const qsizetype expected = qsizetype(wanted.width()) * wanted.height() * 4;
    if ((reply->depth != 24 && reply->depth != 32) || length != expected ||
        setup->image_byte_order != XCB_IMAGE_ORDER_LSB_FIRST)
        return {};
    const uint8_t *bits = xcb_get_image_data(reply.get());
    QImage image(bits, wanted.width(), wanted.height(), wanted.width() * 4, QImage::Format_RGB32);
    return image.copy();
}
