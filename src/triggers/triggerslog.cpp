#include "triggers/triggerslog.h"

Q_LOGGING_CATEGORY(lcTriggers, "vostrel.triggers")
