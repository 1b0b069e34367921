#pragma once

#include "themes/textureitem.h"

#include <QPointer>
#include <QString>

class DesktopCapture;

// A picture scaled to fill the item (aspect kept, the middle shown) and
// blurred: the user's photo from a file, or the frosted desktop of a screen
// from DesktopCapture. `ready` is false while there is nothing to show (no
// path, a file that is no image, no capture), so the caller can show its
// fallback.
class BlurredImage : public TextureItem
{
    Q_OBJECT
    QML_ELEMENT
    Q_DISABLE_COPY_MOVE(BlurredImage)
    Q_PROPERTY(QString filePath READ filePath WRITE setFilePath NOTIFY filePathChanged)
    // When set, the desktop capture of the screen of this name is shown and
    // filePath is ignored.
    Q_PROPERTY(QString screenName READ screenName WRITE setScreenName NOTIFY screenNameChanged)
    // In points, for file pictures; captures come frosted already.
    Q_PROPERTY(qreal blurRadius READ blurRadius WRITE setBlurRadius NOTIFY blurRadiusChanged)
    Q_PROPERTY(bool ready READ isReady NOTIFY readyChanged)

public:
    explicit BlurredImage(QQuickItem *parent = nullptr);

    [[nodiscard]] QString filePath() const { return m_filePath; }
    void setFilePath(const QString &path);
    [[nodiscard]] QString screenName() const { return m_screenName; }
    void setScreenName(const QString &name);
    [[nodiscard]] qreal blurRadius() const { return m_blurRadius; }
    void setBlurRadius(qreal radius);
    [[nodiscard]] bool isReady() const { return m_ready; }
    // Where screen captures come from; built in QML, the item takes the
    // capture handed to its engine.
    void setCapture(DesktopCapture &capture);

Q_SIGNALS:
    void filePathChanged();
    void screenNameChanged();
    void blurRadiusChanged();
    void readyChanged();

protected:
    [[nodiscard]] QImage render(QSizeF size, qreal pixelsPerPoint) const override;
    void updatePolish() override;
    void componentComplete() override;

private:
    void reload();
    void setReady(bool ready);

    QString m_filePath;
    QString m_screenName;
    QPointer<DesktopCapture> m_capture;
    qreal m_blurRadius = 20;
    bool m_ready = false;
    // The decoded file, already reduced to what the blur needs.
    QImage m_source;
};
