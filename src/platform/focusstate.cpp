#include "focusstate.h"
