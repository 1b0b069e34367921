#include "platform/focusstate.h"
