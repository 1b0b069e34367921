#include "platform/lockwindowguard.h"
