#include "platform/fakes/fakecolorschemesource.h"
