// Whether the program runs with the rights of the local Administrators group: both programs refuse to
// start on NT-family Windows without them, rather than fail half-way through.
#pragma once

#include "platform/Platform.h"

// True when the token of the calling thread, or of the process when the thread has none, holds the
// built-in Administrators group. A group present only for denying access (a limited token under user
// account control) does not count: with it every change to the system would fail.
bool IsUserAdministrator(win::Platform& platform);
