#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

// The key numbering and modifier mask in which hotkeys are stored: fixed
// numbers per physical key (L = 37, K = 40) and one bit per modifier, the
// same on every keyboard layout and display server, so a preferences file
// stays meaningful wherever it is read. The backends translate them into Qt
// keys and X keysyms here and nowhere else.
namespace VirtualKeys {

namespace Modifier {
inline constexpr quint64 shift = 0x20000;
inline constexpr quint64 control = 0x40000;
inline constexpr quint64 option = 0x80000;   // Alt
inline constexpr quint64 command = 0x100000; // Super, Qt::MetaModifier
// Caps lock, numeric pad, function and device bits lie outside and never count.
inline constexpr quint64 matchMask = shift | control | option | command;
} // namespace Modifier

[[nodiscard]] quint64 modifierMask(Qt::KeyboardModifiers modifiers);
[[nodiscard]] Qt::KeyboardModifiers qtModifiers(quint64 mask);

[[nodiscard]] std::optional<Qt::Key> qtKey(quint16 keyCode);
// Keypad keys are told apart by Qt::KeypadModifier. Shifted punctuation
// (Qt::Key_Exclam …) and Key_Backtab resolve to the key that produces them on
// a US layout, since Qt reports the shifted symbol rather than the key.
[[nodiscard]] std::optional<quint16> fromQtKey(int key, Qt::KeyboardModifiers modifiers = {});

[[nodiscard]] std::optional<quint32> keysym(quint16 keyCode);
[[nodiscard]] std::optional<quint16> fromKeysym(quint32 keysym);

// What a key cap shows for the key: its unshifted character, an arrow, or the
// name printed on PC keyboards such as "Return" or "F5". Empty for an unknown
// code.
[[nodiscard]] QString label(quint16 keyCode);

} // namespace VirtualKeys
