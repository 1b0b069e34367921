#pragma once

#include <QLoggingCategory>

// "vostrel.triggers"; warnings are on by default, debug messages with
// QT_LOGGING_RULES="vostrel.triggers.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcTriggers)
