#pragma once

#include <QLoggingCategory>

// "vostrel.overlay"; warnings are on by default, debug messages with
// QT_LOGGING_RULES="vostrel.overlay.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcOverlay)
