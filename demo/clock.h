#pragma once
#include <ctime>

// Where the frame reads the calendar time: the C runtime's time() unless a test drives the clock.
extern time_t (*calendarClock)(time_t* out);
