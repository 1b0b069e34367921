#include "lockwindowguard.h"
