#include "desktopanimations.h"
