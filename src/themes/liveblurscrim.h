#pragma once

// The live-blur "radius" is a darkness control: the blur itself has a fixed
// strength, and the value only sets how dark the scrims over it are. The
// slider's 10…80 maps to 0…1; values outside extrapolate and the opacity is
// then limited to 0…1. A radius that is not a finite number (a damaged share
// link or preferences file) is read as the default 15.
namespace LiveBlurScrim {
inline constexpr double defaultRadius = 15.0;

[[nodiscard]] double intensity(double radius);
// Black at this opacity over the blurred desktop.
[[nodiscard]] double liveOpacity(double radius);
// Black at this opacity over the dark fallback gradient.
[[nodiscard]] double fallbackOpacity(double radius);
} // namespace LiveBlurScrim
