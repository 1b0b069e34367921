#include "platform/fakes/fakedesktopanimations.h"
