#pragma once

class QNetworkAccessManager;

// The one HTTP client of the process (the calendar feeds, Slack, the update
// feed), so that connections, proxies and the cookie-free cache are shared.
namespace NetworkAccess {
// Created on the first call, which must come from the main thread; it is
// never destroyed, since replies may still be pending while the application
// object goes away.
[[nodiscard]] QNetworkAccessManager &shared();
} // namespace NetworkAccess
