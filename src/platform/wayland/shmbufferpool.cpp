#include "platform/wayland/shmbufferpool.h"

#include <QPainter>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

ShmBufferPool::ShmBufferPool(wl_shm *shm)
    : m_shm(shm)
{
    for (Buffer &buffer : m_buffers)
        buffer.pool = this;
}

ShmBufferPool::~ShmBufferPool()
{
    clear();
}

void ShmBufferPool::clear()
{
    for (Buffer &buffer : m_buffers) {
        if (buffer.buffer)
            wl_buffer_destroy(buffer.buffer);
        buffer.buffer = nullptr;
        buffer.image = QImage();
        buffer.stale = QRegion();
        buffer.busy = false;
    }
    if (m_pool)
        wl_shm_pool_destroy(m_pool);
    m_pool = nullptr;
    if (m_memory)
        munmap(m_memory, size_t(m_mappedBytes));
    m_memory = nullptr;
    m_mappedBytes = 0;
    m_size = QSize();
}

bool ShmBufferPool::resize(QSize size, QString *error)
{
    if (size == m_size && m_pool)
        return true;
    clear();
    if (size.isEmpty())
        return true;
    const qsizetype stride = qsizetype(size.width()) * 4;
    const qsizetype bufferBytes = stride * size.height();
    const qsizetype total = bufferBytes * BufferCount;
    if (size.width() > 16384 || size.height() > 16384 ||
        total > std::numeric_limits<int32_t>::max()) {
        *error =
            QStringLiteral("a surface of %1x%2 is too large").arg(size.width()).arg(size.height());
        return false;
    }
    // A sealed memfd: the compositor can trust it never shrinks under it.
    const int fd = memfd_create("vostrel-lock-surface", MFD_CLOEXEC | MFD_ALLOW_SEALING);
    if (fd < 0) {
        *error = QStringLiteral("memfd_create: %1").arg(QString::fromLocal8Bit(strerror(errno)));
        return false;
    }
    if (ftruncate(fd, total) < 0) {
        *error = QStringLiteral("ftruncate: %1").arg(QString::fromLocal8Bit(strerror(errno)));
        close(fd);
        return false;
    }
    fcntl(fd, F_ADD_SEALS, F_SEAL_SHRINK | F_SEAL_SEAL);
    void *memory = mmap(nullptr, size_t(total), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (memory == MAP_FAILED) {
        *error = QStringLiteral("mmap: %1").arg(QString::fromLocal8Bit(strerror(errno)));
        close(fd);
        return false;
    }
    m_memory = static_cast<uchar *>(memory);
    m_mappedBytes = total;
    m_pool = wl_shm_create_pool(m_shm, fd, int32_t(total));
    close(fd);
    m_size = size;

    static const wl_buffer_listener listener = {.release = &ShmBufferPool::released};
    for (int i = 0; i < BufferCount; ++i) {
        Buffer &buffer = m_buffers[size_t(i)];
        buffer.buffer =
            wl_shm_pool_create_buffer(m_pool, int32_t(i * bufferBytes), size.width(), size.height(),
                                      int32_t(stride), WL_SHM_FORMAT_XRGB8888);
        wl_buffer_add_listener(buffer.buffer, &listener, &buffer);
        // XRGB8888 is Format_RGB32 in memory on every little- and big-endian
        // machine: both are 32-bit words of 0xffRRGGBB.
        buffer.image = QImage(m_memory + i * bufferBytes, size.width(), size.height(), stride,
                              QImage::Format_RGB32);
        buffer.stale = QRect(QPoint(), size);
    }
    return true;
}

bool ShmBufferPool::hasFreeBuffer() const
{
    return std::any_of(m_buffers.begin(), m_buffers.end(),
                       [](const Buffer &b) { return b.buffer && !b.busy; });
}

wl_buffer *ShmBufferPool::draw(const QImage &frame, const QRegion &damage, QRegion *changed)
{
    auto free = std::find_if(m_buffers.begin(), m_buffers.end(),
                             [](const Buffer &b) { return b.buffer && !b.busy; });
    if (free == m_buffers.end())
        return nullptr;
    const QRect whole(QPoint(), m_size);
    const QRegion fresh = damage.intersected(whole);
    const QRegion copy = fresh.united(free->stale);
    {
        QPainter painter(&free->image);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        for (const QRect &rect : copy) {
            // What the frame does not cover (it is smaller than the surface
            // after a resize it has not caught up with) stays black.
            painter.fillRect(rect, Qt::black);
            painter.drawImage(rect.topLeft(), frame, rect);
        }
    }
    free->stale = QRegion();
    free->busy = true;
    for (Buffer &other : m_buffers) {
        if (&other != &*free)
            other.stale += fresh;
    }
    *changed = copy;
    return free->buffer;
}

void ShmBufferPool::released(void *data, wl_buffer *)
{
    auto *buffer = static_cast<Buffer *>(data);
    buffer->busy = false;
    if (buffer->pool->m_released)
        buffer->pool->m_released();
}
