#pragma once

#include <QString>
#include <QUrl>

// Where the integrations talk to, and what the running build is. Each address
// has a public default compiled in; the environment overrides it so that a
// test or a self-hosted mirror can take its place.
namespace ServiceEndpoints {
// VOSTREL_SLACK_API_URL, else the build's default. Always ends in "/", since
// method names ("users.profile.get") are appended to it.
[[nodiscard]] QUrl slackAPIBaseURL();
// VOSTREL_APPCAST_URL, else the build's default.
[[nodiscard]] QString updateFeedURL();

// The project version, or "1.0.0" should the build have none.
[[nodiscard]] QString bundleVersion();
// The build number, or "1".
[[nodiscard]] QString bundleBuild();

// An absolute http(s) address with a host; anything else is refused.
[[nodiscard]] bool isWebAddress(const QUrl &url);
} // namespace ServiceEndpoints
