#include "weboverlay/fileaccessinterceptor.h"

#include <QFileInfo>
#include <QMutexLocker>
#include <QUrl>

FileAccessInterceptor::FileAccessInterceptor(QObject *parent)
    : QWebEngineUrlRequestInterceptor(parent)
{}

QString FileAccessInterceptor::folder() const
{
    const QMutexLocker lock(&m_mutex);
    return m_folder;
}

void FileAccessInterceptor::setFolder(const QString &folder)
{
    const QString canonical = folder.isEmpty() ? QString() : QFileInfo(folder).canonicalFilePath();
    const QMutexLocker lock(&m_mutex);
    m_folder = canonical;
}

bool FileAccessInterceptor::allows(const QUrl &url) const
{
    if (!url.isLocalFile() && url.scheme().compare(QLatin1String("file"), Qt::CaseInsensitive) != 0)
        return true;
    const QString root = folder();
    if (root.isEmpty())
        return false;
    // Only files: a folder would be shown as Chromium's listing of it.
    const QFileInfo target(url.toLocalFile());
    if (!target.isFile())
        return false;
    const QString path = target.canonicalFilePath();
    const QString prefix = root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/');
    return path.startsWith(prefix);
}

void FileAccessInterceptor::interceptRequest(QWebEngineUrlRequestInfo &info)
{
    if (!allows(info.requestUrl()))
        info.block(true);
}
