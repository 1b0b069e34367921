#include "core/notificationcenter.h"

#include <QThread>

NotificationCenter::NotificationCenter(QObject *parent)
    : QObject(parent)
{}

NotificationCenter::~NotificationCenter() = default;

NotificationCenter &NotificationCenter::shared()
{
    static NotificationCenter center;
    return center;
}

void NotificationCenter::post(const QString &name)
{
    if (QThread::currentThread() != thread()) {
        QMetaObject::invokeMethod(
            this, [this, name] { Q_EMIT posted(name); }, Qt::QueuedConnection);
        return;
    }
    Q_EMIT posted(name);
}
