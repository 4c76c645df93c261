// The generic dialog host of the Win32 build: makes dialogs from the program's templates and turns their
// window messages into calls of the page object, with a surface over the live dialog.
#pragma once

#include "platform/Windows.h"

namespace win::win32 {

INT_PTR RunModalDialog(UINT templateId, HWND owner, DialogPage& page);
HWND CreatePageDialog(UINT templateId, HWND parent, DialogPage& page);
DialogSurface* HostedSurface(HWND dialog);

}  // namespace win::win32
