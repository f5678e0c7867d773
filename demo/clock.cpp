#include "demo/choreography.h"
#include "demo/clock.h"

#include <climits>

time_t startTime;        // calendar seconds, set once by scene initialisation
int elapsedSeconds;      // whole seconds, negative when the clock was set back
static time_t frameTime; // calendar seconds read at the start of the current frame
time_t (*calendarClock)(time_t* out) = time; // time(), or a test's driven clock

void updateElapsedSeconds() {
    frameTime = calendarClock(nullptr);
    double seconds = difftime(frameTime, startTime);
    // Out-of-range doubles have no defined int value; such clocks are simply far past the script.
    if (seconds >= (double)INT_MAX)
        elapsedSeconds = INT_MAX;
    else if (seconds <= (double)INT_MIN)
        elapsedSeconds = INT_MIN;
    else
        elapsedSeconds = (int)seconds;
}
