#pragma once

// Makes Vostrel.Settings and Vostrel.Themes, which its QML imports, known to
// every engine of the process; both live in static libraries, so nothing
// registers them by itself. Safe to call more than once; call before the
// first engine loads a settings file.
void registerSettingsModule();
