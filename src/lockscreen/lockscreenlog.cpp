#include "lockscreen/lockscreenlog.h"

Q_LOGGING_CATEGORY(lcLockScreen, "vostrel.lockscreen")
