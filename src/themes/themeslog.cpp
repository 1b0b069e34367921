#include "themes/themeslog.h"

Q_LOGGING_CATEGORY(lcThemes, "vostrel.themes")
