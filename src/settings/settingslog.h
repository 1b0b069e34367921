#pragma once

#include <QLoggingCategory>

// "vostrel.settings"; warnings are on by default, debug messages with
// QT_LOGGING_RULES="vostrel.settings.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcSettings)
