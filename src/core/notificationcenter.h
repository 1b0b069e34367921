#pragma once

#include <QObject>
#include <QString>

// Process-wide broadcast of named events. Observers pass a context object, so
// an observation ends with its owner and a dead observer is never called.
class NotificationCenter : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(NotificationCenter)

public:
    explicit NotificationCenter(QObject *parent = nullptr);
    ~NotificationCenter() override;

    static NotificationCenter &shared();

    // Safe from any thread; observers always run on the centre's (main) thread.
    void post(const QString &name);

    template<typename Callback>
    QMetaObject::Connection observe(const QString &name, const QObject *context, Callback callback)
    {
        return connect(this, &NotificationCenter::posted, context,
                       [name, callback = std::move(callback)](const QString &posted) {
                           if (posted == name)
                               callback();
                       });
    }

Q_SIGNALS:
    void posted(const QString &name);
};
