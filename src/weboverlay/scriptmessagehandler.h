#pragma once

#include <QObject>
#include <QVariant>

#include <functional>

// The object a page reaches as window.webkit.messageHandlers.vostrel. It is
// all the page can touch through the web channel, so it carries no
// properties, no signals and no way back to anything else: a reference to
// another object here would publish that object to the page as well.
class ScriptMessageHandler : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ScriptMessageHandler)

public:
    using Receiver = std::function<void(const QVariant &body)>;

    explicit ScriptMessageHandler(Receiver receiver, QObject *parent = nullptr);

    // Whatever the page passed, as the channel converted it (objects arrive as
    // QVariantMap, whole numbers as qlonglong).
    Q_INVOKABLE void postMessage(const QVariant &body);

private:
    Receiver m_receiver;
};
