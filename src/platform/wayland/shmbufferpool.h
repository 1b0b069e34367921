#pragma once

#include <QImage>
#include <QRegion>
#include <QSize>

#include <array>
#include <functional>

struct wl_buffer;
struct wl_shm;
struct wl_shm_pool;

// The wl_shm buffers of one surface: a few buffers in one memfd, each handed
// out again only after the compositor released it. A buffer that sat out
// some frames missed their damage, so each remembers what it lacks and the
// next frame drawn into it brings that up to date as well.
class ShmBufferPool
{
public:
    explicit ShmBufferPool(wl_shm *shm);
    ~ShmBufferPool();
    Q_DISABLE_COPY_MOVE(ShmBufferPool)

    // Drops every buffer when the size changes; those the compositor still
    // holds stay valid for it, as a wl_shm pool outlives its mappings there.
    bool resize(QSize size, QString *error);
    [[nodiscard]] QSize size() const { return m_size; }

    // Copies the damaged part of frame into a free buffer and returns it (with
    // the region that buffer now has to show as new), or nullptr while the
    // compositor holds every buffer.
    wl_buffer *draw(const QImage &frame, const QRegion &damage, QRegion *changed);
    [[nodiscard]] bool hasFreeBuffer() const;
    // Called when the compositor gives a buffer back.
    void setReleasedHandler(std::function<void()> handler) { m_released = std::move(handler); }

private:
    static constexpr int BufferCount = 3;
    struct Buffer
    {
        ShmBufferPool *pool = nullptr;
        wl_buffer *buffer = nullptr;
        QImage image; // over the mapped memory
        QRegion stale;
        bool busy = false;
    };

    void clear();
    static void released(void *data, wl_buffer *buffer);

    wl_shm *m_shm = nullptr;
    wl_shm_pool *m_pool = nullptr;
    QSize m_size;
    uchar *m_memory = nullptr;
    qsizetype m_mappedBytes = 0;
    std::array<Buffer, BufferCount> m_buffers;
    std::function<void()> m_released;
};
