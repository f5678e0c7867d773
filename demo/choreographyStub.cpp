// Placeholder until the script lands.
#include "demo/choreography.h"

time_t startTime;
int elapsedSeconds;
void updateElapsedSeconds() {
    elapsedSeconds = (int)difftime(time(nullptr), startTime);
}
void runChoreography() {}
