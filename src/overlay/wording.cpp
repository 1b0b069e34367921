#include "wording.h"

#include "platformwording.h"

QString Wording::adapt(const QString &text) const
{
    return PlatformWording::adapt(text);
}
