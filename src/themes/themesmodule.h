#pragma once

// Makes the Vostrel.Themes QML module known to every engine of the process
// (the module lives in a static library, so nothing registers it by itself)
// and gives the symbol lookup its fallback icon theme. Safe to call more than
// once; call before the first QML engine loads a file importing the module.
void registerThemesModule();
