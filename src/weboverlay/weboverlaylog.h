#pragma once

#include <QLoggingCategory>

// "vostrel.weboverlay"; warnings are on by default, debug messages with
// QT_LOGGING_RULES="vostrel.weboverlay.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcWebOverlay)
