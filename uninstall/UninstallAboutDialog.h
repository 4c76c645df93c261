// The uninstaller's about box, opened from the window menu; its texts come from the language file.
#pragma once

#include "platform/Platform.h"

// Template 100.
class UninstallAboutDialog : public win::DialogPage {
public:
    explicit UninstallAboutDialog(win::Platform& platform) : platform_(platform) {}
    win::BOOL OnInit(win::DialogSurface& surface) override;
    void OnCommand(win::DialogSurface& surface, int id, int notification) override;

private:
    win::Platform& platform_;
};
