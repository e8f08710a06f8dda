#pragma once
// A wait that keeps the program responsive: events are handled until the
// milliseconds have passed on the monotonic clock. Animations pass their form, so
// that the wait ends early, returning false, once the form has been closed (or is
// being closed) or freed.
#include <cstdint>

class TForm;

bool WaitResponsive(uint32_t ms, TForm* form = nullptr);

// True while the form may go on: not freed, not closed since `closeCount` was
// taken, and no close request pending.
bool FormStillOpen(TForm* form, int closeCount);

// Tests hold the program's time: timers do not fire, and a wait handles the
// events already pending and returns at once, so that a window changes only by
// what the test does to it.
void HoldTime(bool Hold);
bool TimeHeld();
