// The restart question after a removal run; its texts come from the language file.
#pragma once

#include "platform/Platform.h"

// Template 129: Yes ends it with IDOK (restart now), No with IDCANCEL.
class RebootDialog : public win::DialogPage {
public:
    explicit RebootDialog(win::Platform& platform) : platform_(platform) {}
    win::BOOL OnInit(win::DialogSurface& surface) override;
    void OnCommand(win::DialogSurface& surface, int id, int notification) override;

private:
    win::Platform& platform_;
};
