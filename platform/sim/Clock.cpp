// The virtual clock.
#include "platform/sim/SimPlatform.h"

namespace win::sim {

void SimClock::Sleep(DWORD milliseconds) {
    w_.nowMilliseconds += milliseconds;
    w_.sleeps.push_back(milliseconds);
}

void SimClock::SleepAnsweringSentMessages(DWORD milliseconds) {
    Sleep(milliseconds);
    w_.answeringSleeps.push_back(milliseconds);
}

}  // namespace win::sim
