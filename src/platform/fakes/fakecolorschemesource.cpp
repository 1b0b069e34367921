#include "fakecolorschemesource.h"
