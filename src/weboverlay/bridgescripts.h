#pragma once

#include <QList>
#include <QString>
#include <QWebEngineScript>

// The scripts every lock-screen page gets before its own, in this order:
// Qt's web channel client with a shim that gives it the name pages written
// for the macOS version call (window.webkit.messageHandlers.vostrel), then
// the bridge itself (window.Vostrel.unlock and getTime), unchanged from the
// macOS version so the same page works on both.
namespace BridgeScripts {
[[nodiscard]] QString bridgeSource();
// qwebchannel.js followed by the shim. Messages posted before the channel is
// up are queued and sent once it is.
[[nodiscard]] QString channelSource();
// Both as user scripts: at document creation, in the page's own world, in
// the main frame only.
[[nodiscard]] QList<QWebEngineScript> userScripts();
} // namespace BridgeScripts
