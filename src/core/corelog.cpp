#include "core/corelog.h"

Q_LOGGING_CATEGORY(lcCore, "vostrel.core")
