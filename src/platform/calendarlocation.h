#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <QVariant>

namespace CalendarLocation {
// The address or file a line of "calendarSources" names ("~/" is the home
// folder, webcal:// is https://); invalid when it names neither an absolute
// path nor an http(s) address.
[[nodiscard]] QUrl url(const QString &location);
// The locations a stored "calendarSources" value lists, one a line, without
// blank lines, "#" comments and repeats; none when it is not text.
[[nodiscard]] QStringList locations(const QVariant &stored);
} // namespace CalendarLocation
