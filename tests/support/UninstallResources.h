// The uninstaller's resource script as the Windows build compiles it, read once for all tests.
#pragma once

#include "platform/sim/ResourceScript.h"

const win::sim::ResourceScript& UninstallResources();
