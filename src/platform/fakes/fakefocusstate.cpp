#include "platform/fakes/fakefocusstate.h"
