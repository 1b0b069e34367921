#include "settings/pinrules.h"

#include <QCoreApplication>

#include <algorithm>

namespace PinRules {

bool isValid(const QString &pin)
{
    // Characters are code points: a digit outside the Basic Multilingual
    // Plane (mathematical digits) is one character, not two.
    const QList<uint> codePoints = pin.toUcs4();
    if (codePoints.size() < minimumLength || codePoints.size() > maximumLength)
        return false;
    return std::all_of(codePoints.cbegin(), codePoints.cend(),
                       [](uint codePoint) { return QChar::isNumber(char32_t(codePoint)); });
}

QString lengthMessage()
{
    return QCoreApplication::translate("PinRules", "PIN must be 4–6 digits");
}

QString mismatchMessage()
{
    return QCoreApplication::translate("PinRules", "PINs don't match");
}

} // namespace PinRules
