#pragma once

#include <QString>
#include <QtGlobal>

#include <memory>

struct xkb_context;
struct xkb_keymap;
struct xkb_state;

// The keyboard as the compositor describes it: its keymap (sent as an
// XKB text) and the modifier state it reports, turned into Qt's key codes,
// texts and modifiers.
class XkbKeyboard
{
public:
    XkbKeyboard();
    ~XkbKeyboard();
    Q_DISABLE_COPY_MOVE(XkbKeyboard)

    struct Key
    {
        int qtKey = 0;
        QString text;
        Qt::KeyboardModifiers modifiers;
        bool repeats = false;
    };

    // keymap is the text of an XKB_KEYMAP_FORMAT_TEXT_V1 keymap.
    bool setKeymap(const QByteArray &keymap);
    [[nodiscard]] bool hasKeymap() const { return m_state != nullptr; }
    void updateModifiers(quint32 depressed, quint32 latched, quint32 locked, quint32 group);
    // evdevCode is the wl_keyboard key code (evdev numbering, 8 below XKB's).
    [[nodiscard]] Key key(quint32 evdevCode) const;
    [[nodiscard]] Qt::KeyboardModifiers modifiers() const;

    // The Qt key for an XKB keysym and the text it types; Qt::Key_unknown
    // when Qt has none.
    static int qtKey(quint32 keysym, const QString &text);

private:
    struct Deleter
    {
        void operator()(xkb_context *p) const;
        void operator()(xkb_keymap *p) const;
        void operator()(xkb_state *p) const;
    };
    std::unique_ptr<xkb_context, Deleter> m_context;
    std::unique_ptr<xkb_keymap, Deleter> m_keymap;
    std::unique_ptr<xkb_state, Deleter> m_state;
};
