#include "platformtext.h"

#include "platformwording.h"

QString PlatformText::adapt(const QString &text)
{
    return PlatformWording::adapt(text);
}
