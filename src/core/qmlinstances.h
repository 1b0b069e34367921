#pragma once

#include <QHash>
#include <QObject>
#include <QQmlEngine>

#include <functional>
#include <typeinfo>

// The objects the application owns that QML reaches as singletons. Whoever
// builds a QML engine (a window, a test) hands it these before loading a
// component; each type's static create() then finds its instance here, so QML
// never builds a second one and nothing in C++ is a process-wide singleton.
class QmlInstances
{
public:
    QmlInstances() = default;
    Q_DISABLE_COPY_MOVE(QmlInstances)

    template<typename T> void add(T &instance)
    {
        m_factories.insert(key<T>(), [&instance]() -> void * { return &instance; });
    }
    // For an object made on first use: the task monitor starts polling when
    // it is made, so it is made when a lock screen first asks for it.
    template<typename T> void add(std::function<T &()> factory)
    {
        m_factories.insert(key<T>(),
                           [factory = std::move(factory)]() -> void * { return &factory(); });
    }

    void provideTo(QQmlEngine &engine) const;

    // The instance of T handed to `engine`; a missing one is a programming
    // error and stops the application with the type's name.
    template<typename T> [[nodiscard]] static T &of(const QQmlEngine *engine)
    {
        return *static_cast<T *>(find(engine, key<T>()));
    }

    // The singleton hand-out for create(): the application keeps ownership.
    template<typename T> [[nodiscard]] static T *singleton(const QQmlEngine *engine)
    {
        T *instance = &of<T>(engine);
        QJSEngine::setObjectOwnership(instance, QJSEngine::CppOwnership);
        return instance;
    }

private:
    template<typename T> static QByteArray key() { return QByteArray(typeid(T).name()); }
    static void *find(const QQmlEngine *engine, const QByteArray &name);

    QHash<QByteArray, std::function<void *()>> m_factories;
};
