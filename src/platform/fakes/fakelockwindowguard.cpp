#include "platform/fakes/fakelockwindowguard.h"
