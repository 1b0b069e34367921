#pragma once

#include <QString>

// What a new PIN must be: 4 to 6 characters, each one a number in any
// script (Arabic-Indic, Devanagari, fullwidth digits all count).
namespace PinRules {
inline constexpr qsizetype minimumLength = 4;
inline constexpr qsizetype maximumLength = 6;

[[nodiscard]] bool isValid(const QString &pin);
// The one message both PIN forms show for a PIN that breaks the rule.
[[nodiscard]] QString lengthMessage();
[[nodiscard]] QString mismatchMessage();
} // namespace PinRules
