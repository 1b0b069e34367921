#pragma once

#include <QStringView>

namespace VersionComparison {
// Orders version strings the way people read them: runs of ASCII digits
// compare by value (1.10 after 1.9, 007 equal to 7), every other character
// by its code, and a string that is a prefix of the other comes first.
// Negative, zero or positive as a is before, equal to or after b.
[[nodiscard]] int compare(QStringView a, QStringView b);
} // namespace VersionComparison
