#include "fakedesktopanimations.h"
