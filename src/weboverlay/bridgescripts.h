#pragma once

#include <QList>
#include <QString>
#include <QWebEngineScript>

// The scripts every lock-screen page gets before its own, in this order:
// Qt's web channel client with a shim that carries
// window.webkit.messageHandlers.vostrel.postMessage over the channel, so
// pages written for WebKit's message handlers work unchanged, then the bridge
// itself (window.Vostrel.unlock and getTime), which posts through that name.
namespace BridgeScripts {
[[nodiscard]] QString bridgeSource();
// qwebchannel.js followed by the shim. Messages posted before the channel is
// up are queued and sent once it is.
[[nodiscard]] QString channelSource();
// Both as user scripts: at document creation, in the page's own world, in
// the main frame only.
[[nodiscard]] QList<QWebEngineScript> userScripts();
} // namespace BridgeScripts
