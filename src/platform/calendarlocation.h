#pragma once

#include <QString>
#include <QUrl>

namespace CalendarLocation {
// The address or file a line of "calendarSources" names ("~/" is the home
// folder, webcal:// is https://); invalid when it names neither an absolute
// path nor an http(s) address.
[[nodiscard]] QUrl url(const QString &location);
} // namespace CalendarLocation
