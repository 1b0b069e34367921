// The virtual key table, driven with arbitrary key codes, keysyms, Qt keys and
// modifier masks: every lookup answers, and what maps one way maps back.
#include "platform/virtualkeys.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 16)
        return 0;
    quint16 code = 0;
    quint32 sym = 0;
    qint32 qtKey = 0;
    quint64 mask = 0;
    std::memcpy(&code, data, 2);
    std::memcpy(&sym, data + 2, 4);
    std::memcpy(&qtKey, data + 6, 4);
    std::memcpy(&mask, data + 8, 8);

    if (const auto key = VirtualKeys::qtKey(code)) {
        const auto back =
            VirtualKeys::fromQtKey(*key, VirtualKeys::qtModifiers(mask) & Qt::KeypadModifier);
        if (!back)
            std::abort();
    }
    if (const auto keysym = VirtualKeys::keysym(code)) {
        if (VirtualKeys::fromKeysym(*keysym) != code)
            std::abort();
    }
    (void)VirtualKeys::fromKeysym(sym);
    (void)VirtualKeys::fromQtKey(qtKey, VirtualKeys::qtModifiers(mask));
    (void)VirtualKeys::label(code);
    if ((VirtualKeys::modifierMask(VirtualKeys::qtModifiers(mask)) &
         ~VirtualKeys::Modifier::matchMask) != 0)
        std::abort();
    return 0;
}
