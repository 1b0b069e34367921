#pragma once

#include <QStringView>
#include <QUrl>

#include <optional>

// The one rule for addresses a lock screen may show: https anywhere, http
// only on this machine (a local dashboard), nothing else. Blanks and new lines
// around the text are trimmed; a scheme is required and compared in lower
// case. Used to pick between the website and its placeholder and to judge
// link clicks on the page.
[[nodiscard]] std::optional<QUrl> validatedWebsiteURL(QStringView text);
