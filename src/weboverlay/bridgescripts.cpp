#include "weboverlay/bridgescripts.h"

#include "weboverlay/weboverlaylog.h"

#include <QFile>

namespace {
QWebEngineScript userScript(const QString &name, const QString &source)
{
    QWebEngineScript script;
    script.setName(name);
    script.setSourceCode(source);
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(QWebEngineScript::MainWorld);
    script.setRunsOnSubFrames(false);
    return script;
}
} // namespace

QString BridgeScripts::bridgeSource()
{
    return QStringLiteral(
        "window.Vostrel = {\n"
        "    unlock: function(pin) {\n"
        "        window.webkit.messageHandlers.vostrel.postMessage({action: 'unlock', pin: pin || "
        "''});\n"
        "    },\n"
        "    getTime: function() {\n"
        "        return new Date().toLocaleTimeString();\n"
        "    }\n"
        "};");
}

QString BridgeScripts::channelSource()
{
    QFile client(QStringLiteral(":/qtwebchannel/qwebchannel.js"));
    if (!client.open(QIODevice::ReadOnly)) {
        qCWarning(lcWebOverlay,
                  "BridgeScripts: the web channel client is missing; pages cannot unlock");
        return {};
    }
    return QString::fromUtf8(client.readAll()) +
           QStringLiteral(
               "\n(function() {\n"
               "    var pending = [];\n"
               "    var handler = null;\n"
               "    window.webkit = window.webkit || {};\n"
               "    window.webkit.messageHandlers = window.webkit.messageHandlers || {};\n"
               "    window.webkit.messageHandlers.vostrel = {\n"
               "        postMessage: function(body) {\n"
               "            if (handler)\n"
               "                handler.postMessage(body);\n"
               "            else\n"
               "                pending.push(body);\n"
               "        }\n"
               "    };\n"
               "    new QWebChannel(qt.webChannelTransport, function(channel) {\n"
               "        handler = channel.objects.vostrel;\n"
               "        var queued = pending;\n"
               "        pending = [];\n"
               "        queued.forEach(function(body) { handler.postMessage(body); });\n"
               "    });\n"
               "})();\n");
}

QList<QWebEngineScript> BridgeScripts::userScripts()
{
    return {userScript(QStringLiteral("vostrel-channel"), channelSource()),
            userScript(QStringLiteral("vostrel-bridge"), bridgeSource())};
}
