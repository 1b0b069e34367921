#pragma once

#include <QHash>
#include <QImage>
#include <QObject>
#include <QString>

class QScreen;
class ScreenCapture;

// The "live" desktop behind the live-blur theme. X11 has no behind-window
// blur, so each screen is read back just before its panel covers it, shrunk,
// frosted and darkened like a dark full-screen material, and kept (small)
// until the lock comes down. Screens without a capture show the dark fallback.
class DesktopCapture : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DesktopCapture)

public:
    explicit DesktopCapture(ScreenCapture &capture, QObject *parent = nullptr);

    // Width of the kept picture; it is drawn scaled up to the screen.
    static constexpr int storedWidth = 384;
    // Blur radius in the kept picture's pixels (about 60 on a 1920 screen).
    static constexpr qreal blurRadius = 12.0;
    // The material's own darkening, under the user's scrims.
    static constexpr qreal materialDim = 0.25;

    // Reads `screen` and keeps its frosted picture under the screen's name.
    // Returns false (and forgets any older picture) when nothing could be read.
    bool captureScreen(QScreen *screen);
    // Drops every picture: a picture of the desktop is not kept past the lock.
    void clear();

    [[nodiscard]] QImage frostedImage(const QString &screenName) const;
    [[nodiscard]] bool hasImage(const QString &screenName) const;

    // Frosting as applied to a capture; public so it can be checked on its own.
    [[nodiscard]] static QImage frost(const QImage &capture);

Q_SIGNALS:
    void imageChanged(const QString &screenName);

private:
    ScreenCapture &m_capture;
    QHash<QString, QImage> m_images;
};
