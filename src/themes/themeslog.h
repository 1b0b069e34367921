#pragma once

#include <QLoggingCategory>

// "vostrel.themes"; warnings are on by default, debug messages with
// QT_LOGGING_RULES="vostrel.themes.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcThemes)
