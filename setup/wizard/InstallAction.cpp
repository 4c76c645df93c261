#include "setup/wizard/InstallAction.h"

#include <atomic>
#include <string>
#include <thread>

#include "resources/resource.h"
#include "setup/engine/InstallPreparation.h"
#include "setup/engine/InstallSequence.h"
#include "setup/engine/TestPage.h"
#include "setup/engine/UsbDriverInstaller.h"
#include "setup/engine/UsbPrinterId.h"
#include "setup/wizard/ProgressWindow.h"
#include "setup/wizard/WizardFrame.h"

namespace {

// The printer-ID step asks and tells in message boxes over the wizard.
class MessageBoxPrompts : public InstallPrompts {
public:
    explicit MessageBoxPrompts(WizardFrame& frame) : frame_(frame) {}
    void Show(const std::string& text) override { frame_.ShowMessage(text); }
    bool AskYesNo(const std::string& text) override {
        return frame_.Context().platform.windows.MessageBoxA(frame_.Window(), text.c_str(),
                                                             frame_.ApplicationName().c_str(),
                                                             win::MB_YESNO) == win::IDYES;
    }

private:
    WizardFrame& frame_;
};

void Refuse(WizardFrame& frame, const char* key) {
    frame.ShowMessage(MessageFor(frame.Context().messageText, key));
}

// Windows 98/Me needs a restart before the new port and driver work; a failed restart is said.
void OfferRestart(WizardFrame& frame, MessageBoxPrompts& prompts) {
    SetupContext& context = frame.Context();
    if (!prompts.AskYesNo(MessageFor(context.messageText, "IDS_INF_RESTART"))) return;
    if (!context.platform.windows.ExitWindowsEx(win::EWX_REBOOT, 0)) Refuse(frame, "IDS_ERR_EXITWIN");
}

// Said when the medium's texts ask for a test page but lack these answers.
constexpr char kTestPageSentText[] = "The test page was sent to the printer.";
constexpr char kTestPageRefusedText[] = "The printer did not take the test page.";

std::string TextOr(const std::string& text, const char* fallback) { return text.empty() ? fallback : text; }

// A test page shows the person at the till at once that the new printer prints. A medium whose texts
// lack the question closes as it always did.
void OfferTestPage(WizardFrame& frame, MessageBoxPrompts& prompts) {
    SetupContext& context = frame.Context();
    std::string question = context.messageText.Get("IDS_INF_TESTPAGE");
    if (question.empty() || !prompts.AskYesNo(question)) return;
    TestPageOutcome outcome = PrintInstalledTestPage(context.platform, frame.Record());
    if (outcome.accepted) {
        frame.ShowMessage(TextOr(context.messageText.Get("IDS_INF_TESTPAGEDONE"), kTestPageSentText));
        return;
    }
    frame.ShowMessage(TextOr(context.messageText.Get("IDS_ERR_TESTPAGE"), kTestPageRefusedText) + "\r\n(" +
                      outcome.failedCall + ": error " + std::to_string(outcome.error) + ")");
}

}  // namespace

void RunWizardInstall(WizardFrame& frame) {
    WizardPages* pages = frame.Pages();
    if (pages == nullptr) return;
    SetupContext& context = frame.Context();
    win::Platform& platform = context.platform;
    InstallRecord& record = frame.Record();

    // Gather the choices of the port page.
    record.updateFlags = 0;
    frame.SaveAllPages();
    record.modelConfig.SetPrinterClass(record.printerClass);
    record.recordPortName.clear();
    record.portName = pages->port.SelectedPort();
    record.driverKind = pages->port.Kind();
    record.serial = pages->port.Serial();

    // Everything that can refuse the installation does so before anything on the system changes.
    const char* refusal = CheckModelSupportsTarget(platform, record);
    if (refusal != nullptr) return Refuse(frame, refusal);
    record.portKind = ClassifyPort(record.portName);
    if (record.portKind == kPortKindUnsupported) return Refuse(frame, "IDS_ERR_NOSUPPORTINTERFACE");
    refusal = CheckPortSupportsTarget(record);
    if (refusal != nullptr) return Refuse(frame, refusal);

    MessageBoxPrompts prompts(frame);
    if (record.portKind == kPortKindUsb && UsbDriverInstallNeeded(platform))
        RunUsbDriverInstaller(platform, LanguageText(platform, "Setup").Get("CaptionName"));
    FillModelRecords(record);
    if (record.portKind == kPortKindUsb &&
        !MatchUsbPrinterId(platform, context.messageText, frame.ChosenInstallMode(), record.portName, prompts))
        return;
    CompletePrinterAndPortNames(platform, record);

    // The wizard steps aside while the worker runs behind the progress window.
    win::Windows& windows = platform.windows;
    windows.ShowWindow(frame.Window(), win::SW_SHOWMINIMIZED);
    windows.SetWindowPos(frame.Window(), win::HWND_TOPMOST, 0, 0, 0, 0, win::SWP_NOMOVE | win::SWP_NOSIZE);
    InstallMessage message;
    std::atomic<int32_t> completion{kCompletionRunning};
    InstallThreadArgs threadArgs{context, record, message, completion};
    std::thread worker(RunInstallSequence, std::ref(threadArgs));
    ProgressWindow progress(context, record.generation, completion);
    windows.DialogBoxParamA(IDD_PROGRESS, frame.Window(), progress);
    // On 98/Me the window closes at 90 while the worker may still run: its outcome comes first.
    worker.join();

    frame.ShowMessage(message.Empty() ? MessageFor(context.messageText, "IDS_INF_NTRESTART") : message.Text());
    // 98/Me load the new monitor and driver only at the restart, so a test page would wait for it.
    if (record.generation == kGenerationWin98Me)
        OfferRestart(frame, prompts);
    else if (completion.load() == kCompletionSucceeded)
        OfferTestPage(frame, prompts);
    frame.Close();
}
