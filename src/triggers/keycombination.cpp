#include "triggers/keycombination.h"

#include "platform/virtualkeys.h"

#include <QCoreApplication>

#include <array>
#include <utility>

namespace KeyCombination {

QStringList parts(quint64 modifierFlags, const QString &key)
{
    namespace Modifier = VirtualKeys::Modifier;
    static const std::array<std::pair<quint64, const char *>, 4> names{{
        {Modifier::control, QT_TRANSLATE_NOOP("KeyCombination", "Ctrl")},
        {Modifier::option, QT_TRANSLATE_NOOP("KeyCombination", "Alt")},
        {Modifier::shift, QT_TRANSLATE_NOOP("KeyCombination", "Shift")},
        {Modifier::command, QT_TRANSLATE_NOOP("KeyCombination", "Super")},
    }};
    QStringList result;
    for (const auto &[bit, name] : names) {
        if (modifierFlags & bit)
            result.append(QCoreApplication::translate("KeyCombination", name));
    }
    // By code point: a key outside the basic plane is still one character.
    result.append(key.toUcs4().size() == 1 ? key.toUpper() : key);
    return result;
}

QString text(quint64 modifierFlags, const QString &key)
{
    return parts(modifierFlags, key).join(QLatin1Char('+'));
}

} // namespace KeyCombination
