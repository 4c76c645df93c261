// What the wizard's pages ask of the frame that hosts them.
#pragma once

#include <string>

#include "platform/Windows.h"

class WizardHost {
public:
    virtual ~WizardHost() = default;
    // The frame's Next (or Install) button.
    virtual void EnableNext(bool enable) = 0;
    // Closes the wizard as cancelled, at once and without a question.
    virtual void CancelWizard() = 0;
    // A message box with an OK button, owned by the frame and titled with the program's name.
    virtual void ShowMessage(const std::string& text) = 0;
};
