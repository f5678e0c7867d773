// The page's clock (web build only): calendar seconds that stand still while the page is hidden.
// A hidden tab gets no frames; with the wall clock the script would skip the phases it missed,
// and a page opened in a background tab would show another show. The desktop keeps time().
#include <emscripten.h>

#include "demo/clock.h"

// ---- helpers ----
static time_t pageClock(time_t* out);

// Milliseconds the page has been visible since the clock was first read.
EM_JS(double, visibleMilliseconds, (), {
    var clock = Module.pageClock;
    if (!clock) {
        clock = Module.pageClock = {visible : 0, since : performance.now()};
        if (document.hidden)
            clock.since = -1;
        document.addEventListener(
            'visibilitychange', function() {
                if (document.hidden && clock.since >= 0) {
                    clock.visible += performance.now() - clock.since;
                    clock.since = -1;
                } else if (!document.hidden && clock.since < 0) {
                    clock.since = performance.now();
                }
            });
    }
    return clock.visible + (clock.since >= 0 ? performance.now() - clock.since : 0);
});

static time_t startSeconds; // the wall clock when the page's clock was first read

static time_t pageClock(time_t* out) {
    if (startSeconds == 0)
        startSeconds = time(nullptr);
    time_t now = startSeconds + (time_t)(visibleMilliseconds() / 1000.0);
    if (out)
        *out = now;
    return now;
}

// Set before main runs; the replay mode sets its own driven clock over it.
[[maybe_unused]] static const bool CLOCK_SET = (calendarClock = pageClock, true);
