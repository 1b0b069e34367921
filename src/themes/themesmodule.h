#pragma once

// Gives the symbol lookup its icon themes: the XDG data folders' themes and,
// where the desktop names none (offscreen, bare X), a fallback that has the
// symbolic icons. Safe to call more than once; call before QML shows a symbol.
void prepareSymbolIcons();
