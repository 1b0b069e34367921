#include "weboverlay/weboverlaylog.h"

Q_LOGGING_CATEGORY(lcWebOverlay, "vostrel.weboverlay")
