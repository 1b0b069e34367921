#pragma once

#include <QLoggingCategory>

// "vostrel.platform"; warnings are on by default, debug messages with
// QT_LOGGING_RULES="vostrel.platform.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcPlatform)
