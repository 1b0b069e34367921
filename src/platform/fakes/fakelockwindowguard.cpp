#include "fakelockwindowguard.h"
