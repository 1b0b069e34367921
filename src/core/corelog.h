#pragma once

#include <QLoggingCategory>

// "vostrel.core"; warnings are on by default, debug messages with
// QT_LOGGING_RULES="vostrel.core.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcCore)
