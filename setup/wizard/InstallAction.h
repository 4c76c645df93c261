// The Install button on the wizard's last page: checks the choices, prepares the USB printer, runs the
// install sequence on a worker behind the progress window, reports the outcome and closes the wizard.
#pragma once

class WizardFrame;

void RunWizardInstall(WizardFrame& frame);
