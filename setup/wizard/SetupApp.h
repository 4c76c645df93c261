// The start of setup.exe: one instance, no uninstaller running, then the wizard as a modal dialog.
#pragma once

#include <functional>

#include "platform/Platform.h"

class WizardFrame;

// Runs the whole program and returns its exit code. `prepare` sees the frame before it is shown: where
// the install action is plugged in.
int RunSetup(win::Platform& platform, const std::function<void(WizardFrame&)>& prepare = nullptr);
