// Stopping, starting, waiting for and restarting the "Spooler" service.
#pragma once

#include <string>

#include "platform/Platform.h"

constexpr char kSpoolerServiceName[] = "Spooler";

// Pauses of the service operations, in milliseconds.
constexpr win::DWORD kStopSpoolerPause = 100;
constexpr win::DWORD kWaitForSpoolerPause = 300;
constexpr int kWaitForSpoolerQueries = 10;
constexpr win::DWORD kRestartSpoolerPause = 2000;

// The fixed text WaitForSpooler leaves in the caller's message.
constexpr char kSpoolerNotRunningMessage[] = "StartSpoolService error";

// Asks the service to stop; a failure is never reported. Pauses 100 ms when the manager could be opened.
void StopSpooler(win::Platform& platform);

// Starts the service. A failure other than "already running" (1056) replaces the message with
// "Start spool service error, error code = <error>"; otherwise the message is left as it was.
void StartSpooler(win::Platform& platform, std::string& message);

// Polls the service up to 10 times, 300 ms apart, until it runs. True when it runs; otherwise the
// message becomes "StartSpoolService error".
bool WaitForSpooler(win::Platform& platform, std::string& message);

// Stop, a 2000 ms pause, start (once more after 300 ms when the start fails); every error is ignored.
void RestartSpooler(win::Platform& platform);

// The start failure text for an error code, as StartSpooler writes it.
std::string StartSpoolerErrorText(win::DWORD error);
