#include "platform/desktopanimations.h"
