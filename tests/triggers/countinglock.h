#pragma once

#include "triggers/locktarget.h"

// Stands in for the overlay: counts the lock sequences the triggers run and
// lets the test lower the lock again.
struct CountingLock
{
    bool isLocked = false;
    int locks = 0;
    LockTarget target{[this] { return isLocked; },
                      [this] {
                          isLocked = true;
                          ++locks;
                      }};
};
