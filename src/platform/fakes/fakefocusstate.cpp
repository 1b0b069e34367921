#include "fakefocusstate.h"
