#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

// A key combination as the desktop names it: the modifiers held (Ctrl, Alt,
// Shift, Super, always in that order) and the key, as in "Super+L". Every
// place that shows a combination to the user takes its words from here.
namespace KeyCombination {
// One entry per key cap: {"Ctrl", "Alt", "K"}. A single-character key is
// upper-cased; a named key ("F5", "Enter") is kept as written. Bits outside
// the four modifiers are not shown.
[[nodiscard]] QStringList parts(quint64 modifierFlags, const QString &key);
// The parts joined with "+".
[[nodiscard]] QString text(quint64 modifierFlags, const QString &key);
} // namespace KeyCombination
