#include "overlay/overlaylog.h"

Q_LOGGING_CATEGORY(lcOverlay, "vostrel.overlay")
