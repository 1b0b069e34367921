#include "weboverlay/weboverlaymodule.h"

#include <QtWebEngineQuick>

void prepareWebEngine()
{
    QtWebEngineQuick::initialize();
}
