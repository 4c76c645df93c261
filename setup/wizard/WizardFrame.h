// The wizard's frame: the dialog that hosts the five pages, its buttons, the side picture, the about
// box and the help, and the navigation between the pages with the checks on the way.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/Dialogs.h"
#include "platform/Windows.h"
#include "setup/engine/InstallRecord.h"
#include "setup/engine/UsbPrinterId.h"
#include "setup/environment/SetupContext.h"
#include "setup/wizard/AgreementPage.h"
#include "setup/wizard/InstallModePage.h"
#include "setup/wizard/OperatingSystemPage.h"
#include "setup/wizard/PortPage.h"
#include "setup/wizard/PrinterSelectionPage.h"
#include "setup/wizard/WizardHost.h"

// The page indices, in the order of Next.
constexpr int kAgreementPageIndex = 0;
constexpr int kPrinterSelectionPageIndex = 1;
constexpr int kInstallModePageIndex = 2;
constexpr int kOperatingSystemPageIndex = 3;
constexpr int kPortPageIndex = 4;

constexpr char kSidePictureFile[] = "DRVCONFIG\\Left.bmp";
constexpr char kHelpFile[] = ".\\Guide.CHM";
// The caption of the help viewer's window while the help file is open.
constexpr char kHelpWindowCaption[] = "Printer Driver Installer";

// The five pages, made by the start-up code before the frame and living as long as it.
struct WizardPages {
    WizardPages(SetupContext& context, WizardHost& host)
        : agreement(context, host),
          selection(context),
          installMode(context),
          system(context, host),
          port(context, host, system) {}

    AgreementPage agreement;
    PrinterSelectionPage selection;
    InstallModePage installMode;
    OperatingSystemPage system;
    PortPage port;
};

// The about box of the window menu.
class AboutBox : public win::DialogPage {
public:
    explicit AboutBox(SetupContext& context) : context_(context) {}
    void OnShow(win::DialogSurface& surface) override;
    void OnCommand(win::DialogSurface& surface, int id, int notification) override;

private:
    SetupContext& context_;
};

class WizardFrame : public win::DialogPage, public WizardHost {
public:
    // The title of message boxes: the program's own name.
    WizardFrame(SetupContext& context, std::string applicationName);
    ~WizardFrame() override;
    WizardFrame(const WizardFrame&) = delete;
    WizardFrame& operator=(const WizardFrame&) = delete;

    // Registers the pages in page order before the frame is shown.
    void AddPage(win::DialogPage& page, win::UINT templateId);
    void AddPages(WizardPages& pages);

    win::BOOL OnInit(win::DialogSurface& surface) override;
    void OnShow(win::DialogSurface& surface) override;
    void OnCommand(win::DialogSurface& surface, int id, int notification) override;
    win::BOOL OnSysCommand(win::DialogSurface& surface, win::UINT command) override;
    win::BOOL OnHelp(win::DialogSurface& surface) override;

    // Shows page n after the current page's data was saved and the checks of the move passed; false
    // when the move is refused and the current page stays.
    bool SetActivePage(int n);
    void Back();
    // Next, or Install on the last page.
    void InstallAction();

    void EnableNext(bool enable) override;
    void CancelWizard() override;
    void ShowMessage(const std::string& text) override;

    // Runs every page's data exchange into its fields, in page order; results are not looked at.
    void SaveAllPages();
    // After a finished installation: destroys the page windows and ends the wizard with IDOK.
    void Close();
    win::HWND Window() const { return surface_ != nullptr ? surface_->Handle() : nullptr; }
    WizardPages* Pages() const { return typed_; }
    SetupContext& Context() const { return context_; }
    const std::string& ApplicationName() const { return applicationName_; }

    int CurrentPage() const { return current_; }
    int PageCount() const { return static_cast<int>(pages_.size()); }
    win::HWND PageWindow(int index) const;
    win::DialogSurface* PageSurface(int index) const;
    InstallRecord& Record() { return record_; }
    // The mode chosen on the install-mode page, kept when the wizard reaches the last page.
    InstallMode ChosenInstallMode() const { return installMode_; }
    // What Install on the last page does; the wizard only pages through without it.
    std::function<void(WizardFrame&)> installHandler;

private:
    struct Page {
        win::DialogPage* page;
        win::UINT templateId;
        win::HWND window;
    };
    // What moving forward from the current page checks and sets; false refuses the move to page n.
    void OfferInstallModes(int n);
    bool CheckSystemSupported(int n);
    void ArriveAtLastPage();
    void SetButtonText(int id, const char* key);
    void ShowPage(int index, bool visible);

    SetupContext& context_;
    win::Platform& platform_;
    std::string applicationName_;
    LanguageText setupText_;
    std::vector<Page> pages_;
    WizardPages* typed_ = nullptr;
    int current_ = -1;
    win::DialogSurface* surface_ = nullptr;
    win::HANDLE sidePicture_ = nullptr;
    bool cancelled_ = false;
    // Set until the next move from the operating-system page to the port page applies the model's
    // baud rate; set again when the user goes back before the install-mode page.
    bool reloadBaudRate_ = true;
    InstallRecord record_;
    InstallMode installMode_ = kInstallModeTypical;
};
