#include "settings/updatecheckeradapter.h"

#include <QMetaMethod>
#include <QMetaProperty>
#include <QUrl>

namespace {
QString text(const QVariant &value)
{
    if (value.metaType() == QMetaType::fromType<QUrl>())
        return value.toUrl().toString();
    return value.toString();
}
} // namespace

UpdateCheckerAdapter::UpdateCheckerAdapter(QObject *checker, QObject *parent)
    : QObject(parent)
    , m_checker(checker)
{
    if (!checker)
        return;
    const QMetaMethod changedSignal =
        metaObject()->method(metaObject()->indexOfSignal("changed()"));
    const QMetaObject *meta = checker->metaObject();
    for (const char *name : {"updateAvailable", "latestVersion", "downloadURL"}) {
        const QMetaProperty property = meta->property(meta->indexOfProperty(name));
        if (property.isValid() && property.hasNotifySignal())
            connect(checker, property.notifySignal(), this, changedSignal);
    }
    connect(checker, &QObject::destroyed, this, &UpdateCheckerAdapter::changed);
}

QVariant UpdateCheckerAdapter::read(const char *name) const
{
    return m_checker ? m_checker->property(name) : QVariant();
}

bool UpdateCheckerAdapter::updateAvailable() const
{
    return read("updateAvailable").toBool();
}

QString UpdateCheckerAdapter::latestVersion() const
{
    return text(read("latestVersion"));
}

QString UpdateCheckerAdapter::downloadURL() const
{
    return text(read("downloadURL"));
}

bool UpdateCheckerAdapter::check()
{
    if (!m_checker)
        return false;
    return QMetaObject::invokeMethod(m_checker, "check");
}
