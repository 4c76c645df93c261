// Installing one printer end to end from a filled install record, without any user interface.
#pragma once

#include "setup/engine/InstallRecord.h"

// Pauses of the sequence in milliseconds, besides those of the service operations.
constexpr win::DWORD kAfterStopPause = 500;
constexpr win::DWORD kAfterStartPauseNt4And2000 = 1000;
constexpr win::DWORD kAfterStartPauseXpAnd2003 = 2500;
constexpr win::DWORD kBeforeWaitPause = 1000;

// The body of the install worker. Its results: the message (a failure, or the closing text on NT-based
// targets), the record's model name replaced by the created printer's name, and the completion state
// written once, as the very last action: kCompletionSucceeded or kCompletionFailed.
void RunInstallSequence(InstallThreadArgs& args);
