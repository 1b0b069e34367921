#pragma once

#include <QObject>
#include <QString>

#include <functional>

// Shows a short text as a desktop notification (org.freedesktop.Notifications
// on the session bus). When no notification server takes it, the text goes to
// a fallback instead, standard output unless told otherwise, so that asking
// from a launcher never ends in silence.
class DesktopNotifier : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DesktopNotifier)

public:
    using Fallback = std::function<void(const QString &summary, const QString &body)>;

    explicit DesktopNotifier(QObject *parent = nullptr);
    ~DesktopNotifier() override;

    void setFallback(Fallback fallback);

    // Asynchronous. Each notification replaces the one shown before, so that
    // asking again does not pile them up.
    void show(const QString &summary, const QString &body);

Q_SIGNALS:
    // Once per show(): whether a notification server took it.
    void shown(bool byServer);

private:
    Fallback m_fallback;
    uint m_lastId = 0;
};
