#include "platform/wayland/xkbkeyboard.h"

#include <xkbcommon/xkbcommon.h>

void XkbKeyboard::Deleter::operator()(xkb_context *p) const
{
    xkb_context_unref(p);
}

void XkbKeyboard::Deleter::operator()(xkb_keymap *p) const
{
    xkb_keymap_unref(p);
}

void XkbKeyboard::Deleter::operator()(xkb_state *p) const
{
    xkb_state_unref(p);
}

XkbKeyboard::XkbKeyboard()
    : m_context(xkb_context_new(XKB_CONTEXT_NO_FLAGS))
{}

XkbKeyboard::~XkbKeyboard() = default;

bool XkbKeyboard::setKeymap(const QByteArray &keymap)
{
    m_state.reset();
    m_keymap.reset();
    if (!m_context)
        return false;
    m_keymap.reset(xkb_keymap_new_from_buffer(m_context.get(), keymap.constData(),
                                              size_t(keymap.size()), XKB_KEYMAP_FORMAT_TEXT_V1,
                                              XKB_KEYMAP_COMPILE_NO_FLAGS));
    if (!m_keymap)
        return false;
    m_state.reset(xkb_state_new(m_keymap.get()));
    return m_state != nullptr;
}

void XkbKeyboard::updateModifiers(quint32 depressed, quint32 latched, quint32 locked, quint32 group)
{
    if (m_state)
        xkb_state_update_mask(m_state.get(), depressed, latched, locked, 0, 0, group);
}

Qt::KeyboardModifiers XkbKeyboard::modifiers() const
{
    Qt::KeyboardModifiers result;
    if (!m_state)
        return result;
    const auto active = [this](const char *name) {
        return xkb_state_mod_name_is_active(m_state.get(), name, XKB_STATE_MODS_EFFECTIVE) > 0;
    };
    if (active(XKB_MOD_NAME_SHIFT))
        result |= Qt::ShiftModifier;
    if (active(XKB_MOD_NAME_CTRL))
        result |= Qt::ControlModifier;
    if (active(XKB_MOD_NAME_ALT))
        result |= Qt::AltModifier;
    if (active(XKB_MOD_NAME_LOGO))
        result |= Qt::MetaModifier;
    return result;
}

XkbKeyboard::Key XkbKeyboard::key(quint32 evdevCode) const
{
    Key key;
    if (!m_state)
        return key;
    const xkb_keycode_t code = evdevCode + 8;
    const xkb_keysym_t sym = xkb_state_key_get_one_sym(m_state.get(), code);
    char utf8[64] = {};
    xkb_state_key_get_utf8(m_state.get(), code, utf8, sizeof utf8);
    key.text = QString::fromUtf8(utf8);
    key.qtKey = qtKey(sym, key.text);
    key.modifiers = modifiers();
    if (sym >= XKB_KEY_KP_Space && sym <= XKB_KEY_KP_9)
        key.modifiers |= Qt::KeypadModifier;
    key.repeats = xkb_keymap_key_repeats(m_keymap.get(), code) != 0;
    return key;
}

int XkbKeyboard::qtKey(quint32 keysym, const QString &text)
{
    struct Pair
    {
        xkb_keysym_t sym;
        int key;
    };
    static constexpr Pair special[] = {
        {XKB_KEY_BackSpace, Qt::Key_Backspace},
        {XKB_KEY_Tab, Qt::Key_Tab},
        {XKB_KEY_ISO_Left_Tab, Qt::Key_Backtab},
        {XKB_KEY_Return, Qt::Key_Return},
        {XKB_KEY_KP_Enter, Qt::Key_Enter},
        {XKB_KEY_Escape, Qt::Key_Escape},
        {XKB_KEY_Delete, Qt::Key_Delete},
        {XKB_KEY_KP_Delete, Qt::Key_Delete},
        {XKB_KEY_Home, Qt::Key_Home},
        {XKB_KEY_End, Qt::Key_End},
        {XKB_KEY_Left, Qt::Key_Left},
        {XKB_KEY_Right, Qt::Key_Right},
        {XKB_KEY_Up, Qt::Key_Up},
        {XKB_KEY_Down, Qt::Key_Down},
        {XKB_KEY_Page_Up, Qt::Key_PageUp},
        {XKB_KEY_Page_Down, Qt::Key_PageDown},
        {XKB_KEY_Insert, Qt::Key_Insert},
        {XKB_KEY_Shift_L, Qt::Key_Shift},
        {XKB_KEY_Shift_R, Qt::Key_Shift},
        {XKB_KEY_Control_L, Qt::Key_Control},
        {XKB_KEY_Control_R, Qt::Key_Control},
        {XKB_KEY_Alt_L, Qt::Key_Alt},
        {XKB_KEY_Alt_R, Qt::Key_Alt},
        {XKB_KEY_Super_L, Qt::Key_Meta},
        {XKB_KEY_Super_R, Qt::Key_Meta},
        {XKB_KEY_Caps_Lock, Qt::Key_CapsLock},
        {XKB_KEY_Num_Lock, Qt::Key_NumLock},
        // The keypad's second meanings, with Num Lock off.
        {XKB_KEY_KP_Home, Qt::Key_Home},
        {XKB_KEY_KP_End, Qt::Key_End},
        {XKB_KEY_KP_Left, Qt::Key_Left},
        {XKB_KEY_KP_Right, Qt::Key_Right},
        {XKB_KEY_KP_Up, Qt::Key_Up},
        {XKB_KEY_KP_Down, Qt::Key_Down},
        {XKB_KEY_KP_Page_Up, Qt::Key_PageUp},
        {XKB_KEY_KP_Page_Down, Qt::Key_PageDown},
        {XKB_KEY_KP_Insert, Qt::Key_Insert},
        {XKB_KEY_KP_Begin, Qt::Key_Clear},
        {XKB_KEY_space, Qt::Key_Space},
    };
    for (const Pair &pair : special) {
        if (pair.sym == keysym)
            return pair.key;
    }
    if (keysym >= XKB_KEY_KP_0 && keysym <= XKB_KEY_KP_9)
        return Qt::Key_0 + int(keysym - XKB_KEY_KP_0);
    if (keysym >= XKB_KEY_F1 && keysym <= XKB_KEY_F35)
        return Qt::Key_F1 + int(keysym - XKB_KEY_F1);
    // Qt's codes for printable keys are the upper-case character they type;
    // Latin-1 keysyms are that character.
    if (keysym >= 0x20 && keysym <= 0xff)
        return QChar(char16_t(keysym)).toUpper().unicode();
    if (text.size() == 1 && text.at(0).isPrint())
        return text.at(0).toUpper().unicode();
    return Qt::Key_unknown;
}
