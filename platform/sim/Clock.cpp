// The virtual clock.
#include <ctime>

#include "platform/sim/SimPlatform.h"

namespace win::sim {

void SimClock::Sleep(DWORD milliseconds) {
    w_.nowMilliseconds += milliseconds;
    w_.sleeps.push_back(milliseconds);
}

void SimClock::GetLocalTime(SYSTEMTIME* time) {
    std::time_t seconds = static_cast<std::time_t>(w_.localTimeAtStart + w_.nowMilliseconds / 1000);
    std::tm parts{};
    gmtime_r(&seconds, &parts);
    time->wYear = static_cast<WORD>(parts.tm_year + 1900);
    time->wMonth = static_cast<WORD>(parts.tm_mon + 1);
    time->wDayOfWeek = static_cast<WORD>(parts.tm_wday);
    time->wDay = static_cast<WORD>(parts.tm_mday);
    time->wHour = static_cast<WORD>(parts.tm_hour);
    time->wMinute = static_cast<WORD>(parts.tm_min);
    time->wSecond = static_cast<WORD>(parts.tm_sec);
    time->wMilliseconds = static_cast<WORD>(w_.nowMilliseconds % 1000);
}

void SimClock::SleepAnsweringSentMessages(DWORD milliseconds) {
    Sleep(milliseconds);
    w_.answeringSleeps.push_back(milliseconds);
}

}  // namespace win::sim
