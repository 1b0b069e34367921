#include "integrations/integrationslog.h"

Q_LOGGING_CATEGORY(lcIntegrations, "vostrel.integrations")
