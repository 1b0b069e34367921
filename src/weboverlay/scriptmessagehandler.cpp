#include "weboverlay/scriptmessagehandler.h"

ScriptMessageHandler::ScriptMessageHandler(Receiver receiver, QObject *parent)
    : QObject(parent)
    , m_receiver(std::move(receiver))
{}

void ScriptMessageHandler::postMessage(const QVariant &body)
{
    if (m_receiver)
        m_receiver(body);
}
