#pragma once

#include <QLoggingCategory>

// "vostrel.integrations"; warnings are on by default, debug messages with
// QT_LOGGING_RULES="vostrel.integrations.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcIntegrations)
