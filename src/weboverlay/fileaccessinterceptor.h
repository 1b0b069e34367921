#pragma once

#include <QMutex>
#include <QString>
#include <QWebEngineUrlRequestInterceptor>

// Confines a web profile's file reads to one folder and what lies under it,
// symbolic links resolved, so a lock-screen page can use the images, styles
// and scripts beside it and nothing else on the disk. With no folder, no file
// is read. Other schemes pass untouched.
class FileAccessInterceptor : public QWebEngineUrlRequestInterceptor
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FileAccessInterceptor)

public:
    explicit FileAccessInterceptor(QObject *parent = nullptr);

    [[nodiscard]] QString folder() const;
    // Resolved once here; a folder that does not exist allows nothing.
    void setFolder(const QString &folder);

    [[nodiscard]] bool allows(const QUrl &url) const;
    void interceptRequest(QWebEngineUrlRequestInfo &info) override;

private:
    mutable QMutex m_mutex;
    QString m_folder;
};
