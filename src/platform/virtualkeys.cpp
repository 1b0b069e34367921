#include "platform/virtualkeys.h"

#include <array>

namespace {

struct KeyEntry
{
    quint16 code;
    Qt::Key qtKey;
    bool keypad;
    quint32 keysym;
    const char *label; // UTF-8
};

// Modifier keys themselves, Caps Lock and the media keys are left out: none
// of them can be the key of a hotkey.
constexpr std::array keyTable{
    KeyEntry{0, Qt::Key_A, false, 0x61, "A"},
    KeyEntry{1, Qt::Key_S, false, 0x73, "S"},
    KeyEntry{2, Qt::Key_D, false, 0x64, "D"},
    KeyEntry{3, Qt::Key_F, false, 0x66, "F"},
    KeyEntry{4, Qt::Key_H, false, 0x68, "H"},
    KeyEntry{5, Qt::Key_G, false, 0x67, "G"},
    KeyEntry{6, Qt::Key_Z, false, 0x7a, "Z"},
    KeyEntry{7, Qt::Key_X, false, 0x78, "X"},
    KeyEntry{8, Qt::Key_C, false, 0x63, "C"},
    KeyEntry{9, Qt::Key_V, false, 0x76, "V"},
    KeyEntry{11, Qt::Key_B, false, 0x62, "B"},
    KeyEntry{12, Qt::Key_Q, false, 0x71, "Q"},
    KeyEntry{13, Qt::Key_W, false, 0x77, "W"},
    KeyEntry{14, Qt::Key_E, false, 0x65, "E"},
    KeyEntry{15, Qt::Key_R, false, 0x72, "R"},
    KeyEntry{16, Qt::Key_Y, false, 0x79, "Y"},
    KeyEntry{17, Qt::Key_T, false, 0x74, "T"},
    KeyEntry{18, Qt::Key_1, false, 0x31, "1"},
    KeyEntry{19, Qt::Key_2, false, 0x32, "2"},
    KeyEntry{20, Qt::Key_3, false, 0x33, "3"},
    KeyEntry{21, Qt::Key_4, false, 0x34, "4"},
    KeyEntry{22, Qt::Key_6, false, 0x36, "6"},
    KeyEntry{23, Qt::Key_5, false, 0x35, "5"},
    KeyEntry{24, Qt::Key_Equal, false, 0x3d, "="},
    KeyEntry{25, Qt::Key_9, false, 0x39, "9"},
    KeyEntry{26, Qt::Key_7, false, 0x37, "7"},
    KeyEntry{27, Qt::Key_Minus, false, 0x2d, "-"},
    KeyEntry{28, Qt::Key_8, false, 0x38, "8"},
    KeyEntry{29, Qt::Key_0, false, 0x30, "0"},
    KeyEntry{30, Qt::Key_BracketRight, false, 0x5d, "]"},
    KeyEntry{31, Qt::Key_O, false, 0x6f, "O"},
    KeyEntry{32, Qt::Key_U, false, 0x75, "U"},
    KeyEntry{33, Qt::Key_BracketLeft, false, 0x5b, "["},
    KeyEntry{34, Qt::Key_I, false, 0x69, "I"},
    KeyEntry{35, Qt::Key_P, false, 0x70, "P"},
    KeyEntry{36, Qt::Key_Return, false, 0xff0d, "Return"},
    KeyEntry{37, Qt::Key_L, false, 0x6c, "L"},
    KeyEntry{38, Qt::Key_J, false, 0x6a, "J"},
    KeyEntry{39, Qt::Key_Apostrophe, false, 0x27, "'"},
    KeyEntry{40, Qt::Key_K, false, 0x6b, "K"},
    KeyEntry{41, Qt::Key_Semicolon, false, 0x3b, ";"},
    KeyEntry{42, Qt::Key_Backslash, false, 0x5c, "\\"},
    KeyEntry{43, Qt::Key_Comma, false, 0x2c, ","},
    KeyEntry{44, Qt::Key_Slash, false, 0x2f, "/"},
    KeyEntry{45, Qt::Key_N, false, 0x6e, "N"},
    KeyEntry{46, Qt::Key_M, false, 0x6d, "M"},
    KeyEntry{47, Qt::Key_Period, false, 0x2e, "."},
    KeyEntry{48, Qt::Key_Tab, false, 0xff09, "Tab"},
    KeyEntry{49, Qt::Key_Space, false, 0x20, "Space"},
    KeyEntry{50, Qt::Key_QuoteLeft, false, 0x60, "`"},
    KeyEntry{51, Qt::Key_Backspace, false, 0xff08, "Backspace"},
    KeyEntry{53, Qt::Key_Escape, false, 0xff1b, "Esc"},
    KeyEntry{64, Qt::Key_F17, false, 0xffce, "F17"},
    KeyEntry{65, Qt::Key_Period, true, 0xffae, "."},
    KeyEntry{67, Qt::Key_Asterisk, true, 0xffaa, "*"},
    KeyEntry{69, Qt::Key_Plus, true, 0xffab, "+"},
    KeyEntry{75, Qt::Key_Slash, true, 0xffaf, "/"},
    KeyEntry{76, Qt::Key_Enter, true, 0xff8d, "Enter"},
    KeyEntry{78, Qt::Key_Minus, true, 0xffad, "-"},
    KeyEntry{79, Qt::Key_F18, false, 0xffcf, "F18"},
    KeyEntry{80, Qt::Key_F19, false, 0xffd0, "F19"},
    KeyEntry{81, Qt::Key_Equal, true, 0xffbd, "="},
    KeyEntry{82, Qt::Key_0, true, 0xffb0, "0"},
    KeyEntry{83, Qt::Key_1, true, 0xffb1, "1"},
    KeyEntry{84, Qt::Key_2, true, 0xffb2, "2"},
    KeyEntry{85, Qt::Key_3, true, 0xffb3, "3"},
    KeyEntry{86, Qt::Key_4, true, 0xffb4, "4"},
    KeyEntry{87, Qt::Key_5, true, 0xffb5, "5"},
    KeyEntry{88, Qt::Key_6, true, 0xffb6, "6"},
    KeyEntry{89, Qt::Key_7, true, 0xffb7, "7"},
    KeyEntry{90, Qt::Key_F20, false, 0xffd1, "F20"},
    KeyEntry{91, Qt::Key_8, true, 0xffb8, "8"},
    KeyEntry{92, Qt::Key_9, true, 0xffb9, "9"},
    KeyEntry{96, Qt::Key_F5, false, 0xffc2, "F5"},
    KeyEntry{97, Qt::Key_F6, false, 0xffc3, "F6"},
    KeyEntry{98, Qt::Key_F7, false, 0xffc4, "F7"},
    KeyEntry{99, Qt::Key_F3, false, 0xffc0, "F3"},
    KeyEntry{100, Qt::Key_F8, false, 0xffc5, "F8"},
    KeyEntry{101, Qt::Key_F9, false, 0xffc6, "F9"},
    KeyEntry{103, Qt::Key_F11, false, 0xffc8, "F11"},
    KeyEntry{105, Qt::Key_F13, false, 0xffca, "F13"},
    KeyEntry{106, Qt::Key_F16, false, 0xffcd, "F16"},
    KeyEntry{107, Qt::Key_F14, false, 0xffcb, "F14"},
    KeyEntry{109, Qt::Key_F10, false, 0xffc7, "F10"},
    KeyEntry{111, Qt::Key_F12, false, 0xffc9, "F12"},
    KeyEntry{113, Qt::Key_F15, false, 0xffcc, "F15"},
    // The Help key sits where PC keyboards have Insert.
    KeyEntry{114, Qt::Key_Insert, false, 0xff63, "Insert"},
    KeyEntry{115, Qt::Key_Home, false, 0xff50, "Home"},
    KeyEntry{116, Qt::Key_PageUp, false, 0xff55, "Page Up"},
    KeyEntry{117, Qt::Key_Delete, false, 0xffff, "Delete"},
    KeyEntry{118, Qt::Key_F4, false, 0xffc1, "F4"},
    KeyEntry{119, Qt::Key_End, false, 0xff57, "End"},
    KeyEntry{120, Qt::Key_F2, false, 0xffbf, "F2"},
    KeyEntry{121, Qt::Key_PageDown, false, 0xff56, "Page Down"},
    KeyEntry{122, Qt::Key_F1, false, 0xffbe, "F1"},
    KeyEntry{123, Qt::Key_Left, false, 0xff51, "←"},
    KeyEntry{124, Qt::Key_Right, false, 0xff53, "→"},
    KeyEntry{125, Qt::Key_Down, false, 0xff54, "↓"},
    KeyEntry{126, Qt::Key_Up, false, 0xff52, "↑"},
};

// Qt names the symbol a shifted key produced; these are the keys of a US
// layout that produce them.
struct ShiftedKey
{
    Qt::Key shifted;
    Qt::Key base;
};

constexpr std::array shiftedKeys{
    ShiftedKey{Qt::Key_Exclam, Qt::Key_1},
    ShiftedKey{Qt::Key_At, Qt::Key_2},
    ShiftedKey{Qt::Key_NumberSign, Qt::Key_3},
    ShiftedKey{Qt::Key_Dollar, Qt::Key_4},
    ShiftedKey{Qt::Key_Percent, Qt::Key_5},
    ShiftedKey{Qt::Key_AsciiCircum, Qt::Key_6},
    ShiftedKey{Qt::Key_Ampersand, Qt::Key_7},
    ShiftedKey{Qt::Key_Asterisk, Qt::Key_8},
    ShiftedKey{Qt::Key_ParenLeft, Qt::Key_9},
    ShiftedKey{Qt::Key_ParenRight, Qt::Key_0},
    ShiftedKey{Qt::Key_Underscore, Qt::Key_Minus},
    ShiftedKey{Qt::Key_Plus, Qt::Key_Equal},
    ShiftedKey{Qt::Key_BraceLeft, Qt::Key_BracketLeft},
    ShiftedKey{Qt::Key_BraceRight, Qt::Key_BracketRight},
    ShiftedKey{Qt::Key_Bar, Qt::Key_Backslash},
    ShiftedKey{Qt::Key_Colon, Qt::Key_Semicolon},
    ShiftedKey{Qt::Key_QuoteDbl, Qt::Key_Apostrophe},
    ShiftedKey{Qt::Key_Less, Qt::Key_Comma},
    ShiftedKey{Qt::Key_Greater, Qt::Key_Period},
    ShiftedKey{Qt::Key_Question, Qt::Key_Slash},
    ShiftedKey{Qt::Key_AsciiTilde, Qt::Key_QuoteLeft},
    ShiftedKey{Qt::Key_Backtab, Qt::Key_Tab},
};

const KeyEntry *entryForCode(quint16 keyCode)
{
    for (const KeyEntry &entry : keyTable) {
        if (entry.code == keyCode)
            return &entry;
    }
    return nullptr;
}

const KeyEntry *entryForQtKey(int key, bool keypad)
{
    for (const KeyEntry &entry : keyTable) {
        if (entry.qtKey == key && entry.keypad == keypad)
            return &entry;
    }
    return nullptr;
}

} // namespace

namespace VirtualKeys {

quint64 modifierMask(Qt::KeyboardModifiers modifiers)
{
    quint64 mask = 0;
    if (modifiers & Qt::ShiftModifier)
        mask |= Modifier::shift;
    if (modifiers & Qt::ControlModifier)
        mask |= Modifier::control;
    if (modifiers & Qt::AltModifier)
        mask |= Modifier::option;
    if (modifiers & Qt::MetaModifier)
        mask |= Modifier::command;
    return mask;
}

Qt::KeyboardModifiers qtModifiers(quint64 mask)
{
    Qt::KeyboardModifiers modifiers;
    if (mask & Modifier::shift)
        modifiers |= Qt::ShiftModifier;
    if (mask & Modifier::control)
        modifiers |= Qt::ControlModifier;
    if (mask & Modifier::option)
        modifiers |= Qt::AltModifier;
    if (mask & Modifier::command)
        modifiers |= Qt::MetaModifier;
    return modifiers;
}

std::optional<Qt::Key> qtKey(quint16 keyCode)
{
    if (const KeyEntry *entry = entryForCode(keyCode))
        return entry->qtKey;
    return std::nullopt;
}

std::optional<quint16> fromQtKey(int key, Qt::KeyboardModifiers modifiers)
{
    const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
    if (const KeyEntry *entry = entryForQtKey(key, keypad))
        return entry->code;
    if (!keypad) {
        for (const ShiftedKey &shifted : shiftedKeys) {
            if (shifted.shifted == key)
                return entryForQtKey(shifted.base, false)->code;
        }
    }
    // Keypad keys with Num Lock off report Home, Insert …, and some
    // keyboards send Enter without the keypad flag.
    if (const KeyEntry *entry = entryForQtKey(key, !keypad))
        return entry->code;
    return std::nullopt;
}

std::optional<quint32> keysym(quint16 keyCode)
{
    if (const KeyEntry *entry = entryForCode(keyCode))
        return entry->keysym;
    return std::nullopt;
}

std::optional<quint16> fromKeysym(quint32 keysym)
{
    // Upper-case Latin letters are the shifted level of the same key.
    if (keysym >= 0x41 && keysym <= 0x5a)
        keysym += 0x20;
    for (const KeyEntry &entry : keyTable) {
        if (entry.keysym == keysym)
            return entry.code;
    }
    return std::nullopt;
}

QString label(quint16 keyCode)
{
    if (const KeyEntry *entry = entryForCode(keyCode))
        return QString::fromUtf8(entry->label);
    return {};
}

} // namespace VirtualKeys
