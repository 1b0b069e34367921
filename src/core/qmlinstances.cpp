#include "core/qmlinstances.h"

#include <QVariant>

namespace {
constexpr char engineProperty[] = "_vostrel_qmlInstances";
} // namespace

void QmlInstances::provideTo(QQmlEngine &engine) const
{
    engine.setProperty(engineProperty,
                       QVariant::fromValue(const_cast<void *>(static_cast<const void *>(this))));
}

void *QmlInstances::find(const QQmlEngine *engine, const QByteArray &name)
{
    const auto *instances =
        engine ? static_cast<const QmlInstances *>(engine->property(engineProperty).value<void *>())
               : nullptr;
    if (instances) {
        const auto factory = instances->m_factories.constFind(name);
        if (factory != instances->m_factories.constEnd())
            return (*factory)();
    }
    qFatal("QML asked for an object of type %s, which was not handed to its engine",
           name.constData());
}
