#include "setup/wizard/WizardFrame.h"

#include <cstdlib>

#include "resources/resource.h"
#include "setup/environment/ModelConfig.h"
#include "shared/Administrator.h"

namespace {

// Kept in the source's UTF-8 and compiled to the code page of the language files.
constexpr char kNeedsAdministrator[] = "安装程序必须在管理员权限下运行！";

}  // namespace

void AboutBox::OnShow(win::DialogSurface& surface) {
    LanguageText about(context_.platform, "About");
    surface.SetDlgItemTextA(win::IDOK, about.Get("OK").c_str());
    surface.SetDlgItemTextA(IDC_ABOUT_VERSION, about.Get("Version").c_str());
    surface.SetDlgItemTextA(IDC_ABOUT_COPYRIGHT, about.Get("Copyright").c_str());
    surface.SetWindowTextA(about.Get("Caption").c_str());
}

void AboutBox::OnCommand(win::DialogSurface& surface, int id, int) {
    if (id == win::IDOK || id == win::IDCANCEL) surface.EndDialog(id);
}

WizardFrame::WizardFrame(SetupContext& context, std::string applicationName)
    : context_(context),
      platform_(context.platform),
      applicationName_(std::move(applicationName)),
      setupText_(context.platform, "Setup"),
      record_(context.platform) {}

WizardFrame::~WizardFrame() {
    if (sidePicture_ != nullptr) platform_.windows.DeleteObject(sidePicture_);
}

void WizardFrame::AddPage(win::DialogPage& page, win::UINT templateId) {
    pages_.push_back(Page{&page, templateId, nullptr});
}

void WizardFrame::AddPages(WizardPages& pages) {
    AddPage(pages.agreement, IDD_LEGAL_PAGE);
    AddPage(pages.selection, IDD_SERIES_PAGE);
    AddPage(pages.installMode, IDD_MODE_PAGE);
    AddPage(pages.system, IDD_SYSTEM_PAGE);
    AddPage(pages.port, IDD_PORT_PAGE);
    typed_ = &pages;
}

win::HWND WizardFrame::PageWindow(int index) const {
    if (index < 0 || index >= PageCount()) return nullptr;
    return pages_[static_cast<size_t>(index)].window;
}

win::DialogSurface* WizardFrame::PageSurface(int index) const {
    win::HWND window = PageWindow(index);
    return window != nullptr ? platform_.windows.DialogSurfaceOf(window) : nullptr;
}

win::BOOL WizardFrame::OnInit(win::DialogSurface& surface) {
    surface_ = &surface;
    win::Windows& windows = platform_.windows;
    surface.AppendSystemMenuItem(IDM_ABOUTBOX, context_.messageText.Get("IDS_ABOUTBOX").c_str());
    surface.SetIconResource(IDI_APP);

    // Each page is made once, here; a page that cannot start (no licence) cancels the wizard.
    for (Page& page : pages_) {
        page.window = windows.CreateDialogParamA(page.templateId, surface.Handle(), *page.page);
        if (page.window != nullptr) surface.PlaceOnControl(page.window, IDC_PAGE_AREA);
        if (cancelled_) return win::FALSE;
    }
    if (!pages_.empty()) SetActivePage(0);

    SetButtonText(IDC_BACK, "Back");
    SetButtonText(win::IDOK, pages_.size() > 1 ? "Next" : "Install");
    SetButtonText(win::IDCANCEL, "Cancel");

    sidePicture_ = windows.LoadImageA(kSidePictureFile, win::IMAGE_BITMAP, 0, 0, win::LR_LOADFROMFILE);
    if (sidePicture_ == nullptr) {
        ShowMessage(context_.messageText.Get("IDS_ERR_NOLEFT"));
        CancelWizard();
        return win::FALSE;
    }
    surface.SetPicture(IDC_SIDE_PICTURE, sidePicture_);

    PlatformGeneration generation = DetectPlatformGeneration(platform_);
    if (generation >= kGenerationWin2000 && !IsUserAdministrator(platform_)) {
        ShowMessage(kNeedsAdministrator);
        CancelWizard();
        return win::FALSE;
    }
    return win::TRUE;
}

void WizardFrame::OnShow(win::DialogSurface& surface) {
    surface.SetWindowTextA(setupText_.Get("Caption").c_str());
    surface.SetDlgItemTextA(IDC_HELP_HINT, setupText_.Get("Help").c_str());
}

void WizardFrame::OnCommand(win::DialogSurface&, int id, int notification) {
    if (notification != win::BN_CLICKED) return;
    if (id == win::IDOK) InstallAction();
    else if (id == win::IDCANCEL) CancelWizard();
    else if (id == IDC_BACK) Back();
}

win::BOOL WizardFrame::OnSysCommand(win::DialogSurface& surface, win::UINT command) {
    if ((command & 0xFFF0) != IDM_ABOUTBOX) return win::FALSE;
    AboutBox about(context_);
    platform_.windows.DialogBoxParamA(IDD_ABOUTBOX, surface.Handle(), about);
    return win::TRUE;
}

win::BOOL WizardFrame::OnHelp(win::DialogSurface& surface) {
    win::Windows& windows = platform_.windows;
    win::HWND viewer = windows.FindWindowA(nullptr, kHelpWindowCaption);
    if (viewer != nullptr) {
        windows.BringWindowToTop(viewer);
        windows.OpenIcon(viewer);
    } else {
        // A missing help file shows nothing: the wizard goes on without it.
        windows.ShellExecuteA(surface.Handle(), "open", kHelpFile, nullptr, nullptr, win::SW_SHOW);
    }
    return win::TRUE;
}

void WizardFrame::EnableNext(bool enable) {
    if (surface_ != nullptr) surface_->EnableDlgItem(win::IDOK, enable ? win::TRUE : win::FALSE);
}

void WizardFrame::CancelWizard() {
    cancelled_ = true;
    if (surface_ != nullptr) surface_->EndDialog(win::IDCANCEL);
}

void WizardFrame::ShowMessage(const std::string& text) {
    win::HWND owner = surface_ != nullptr ? surface_->Handle() : nullptr;
    platform_.windows.MessageBoxA(owner, text.c_str(), applicationName_.c_str(), win::MB_OK);
}

void WizardFrame::SaveAllPages() {
    for (int i = 0; i < PageCount(); ++i) {
        win::DialogSurface* page = PageSurface(i);
        if (page != nullptr) pages_[static_cast<size_t>(i)].page->Exchange(*page, win::TRUE);
    }
}

void WizardFrame::Close() {
    for (Page& page : pages_) {
        if (page.window != nullptr) platform_.windows.DestroyWindow(page.window);
        page.window = nullptr;
    }
    if (surface_ != nullptr) surface_->EndDialog(win::IDOK);
}

void WizardFrame::SetButtonText(int id, const char* key) {
    if (surface_ != nullptr) surface_->SetDlgItemTextA(id, setupText_.Get(key).c_str());
}

void WizardFrame::ShowPage(int index, bool visible) {
    win::HWND window = PageWindow(index);
    if (window != nullptr) platform_.windows.ShowWindow(window, visible ? win::SW_SHOW : win::SW_HIDE);
}

bool WizardFrame::SetActivePage(int n) {
    if (n < 0 || n >= PageCount()) return false;
    if (current_ >= 0) {
        win::DialogSurface* leaving = PageSurface(current_);
        if (leaving != nullptr && !pages_[static_cast<size_t>(current_)].page->Exchange(*leaving, win::TRUE))
            return false;
        ShowPage(current_, false);
    }
    if (current_ == kInstallModePageIndex && n < kInstallModePageIndex) reloadBaudRate_ = true;
    if (current_ == kAgreementPageIndex && typed_ != nullptr) EnableNext(typed_->selection.HasModels());

    if (current_ < n && typed_ != nullptr) {
        if (current_ == kPrinterSelectionPageIndex) OfferInstallModes(n);
        if (current_ == kOperatingSystemPageIndex && !CheckSystemSupported(n)) return false;
    }
    current_ = n;
    ShowPage(n, true);
    return true;
}

void WizardFrame::OfferInstallModes(int n) {
    const PrinterSelectionPage& selection = typed_->selection;
    int advanced = ReadModelPortNumber(platform_, selection.SelectedClass(), selection.SelectedModel(), "AdvancedSetup");
    win::DialogSurface* modePage = PageSurface(n);
    if (modePage != nullptr) typed_->installMode.OfferAdvanced(*modePage, advanced != 0);
}

bool WizardFrame::CheckSystemSupported(int n) {
    const PrinterSelectionPage& selection = typed_->selection;
    PrinterClass printerClass = selection.SelectedClass();
    const std::string& model = selection.SelectedModel();
    int server2003 = ReadModelPortNumber(platform_, printerClass, model, "System2003Supported");
    int vista = ReadModelPortNumber(platform_, printerClass, model, "SystemVistaSupported");
    int nt = ReadModelPortNumber(platform_, printerClass, model, "SystemNTSupported");
    int x64 = ReadModelPortNumber(platform_, printerClass, model, "SystemX64Supported");

    if (reloadBaudRate_) {
        win::DialogSurface* portPage = PageSurface(n);
        int baudRate = ReadModelPortNumber(platform_, printerClass, model, "BaudRate");
        if (portPage != nullptr) typed_->port.ApplyDefaultBaudRate(*portPage, baudRate);
        reloadBaudRate_ = false;
    }

    const char* refusal = nullptr;
    PlatformGeneration generation = typed_->system.Generation();
    if (platform_.architecture.is64Bit) {
        // The x64 edition installs one set of x64 drivers on every 64-bit Windows.
        if (generation != kGenerationWin98Me && x64 == 0) refusal = "IDS_NOTSUPPORTX64";
    } else {
        if (generation == kGenerationNT4 && nt == 0) refusal = "IDS_NOTSUPPORTNT";
        if (generation == kGenerationServer2003 && server2003 == 0) refusal = "IDS_NOTSUPPORT2003";
        if (generation == kGenerationVista && vista == 0) refusal = "IDS_NOTSUPPORTVISTA";
    }
    if (refusal == nullptr) return true;
    ShowMessage(context_.messageText.Get(refusal));
    // The wizard stays on the operating-system page.
    current_ = n - 1;
    ShowPage(current_, true);
    return false;
}

void WizardFrame::Back() {
    if (surface_ == nullptr) return;
    if (current_ > 0) {
        SetButtonText(win::IDOK, "Next");
        SetActivePage(current_ - 1);
    }
    if (current_ <= 0) {
        surface_->EnableDlgItem(IDC_BACK, win::FALSE);
        surface_->SetFocusToDlgItem(win::IDOK);
    }
    surface_->EnableDlgItem(win::IDOK, win::TRUE);
}

void WizardFrame::InstallAction() {
    // Enter sends IDOK whatever the button's state: a disabled Next (agreement not accepted) stays shut.
    if (surface_ == nullptr || current_ < 0 || !surface_->IsDlgItemEnabled(win::IDOK)) return;
    if (current_ == PageCount() - 1) {
        if (installHandler) installHandler(*this);
        return;
    }
    if (SetActivePage(current_ + 1) && current_ == PageCount() - 1) ArriveAtLastPage();
    surface_->EnableDlgItem(IDC_BACK, win::TRUE);
    surface_->SetFocusToDlgItem(win::IDOK);
}

void WizardFrame::ArriveAtLastPage() {
    if (typed_ != nullptr) {
        const PrinterSelectionPage& selection = typed_->selection;
        record_.printerClass = selection.SelectedClass();
        record_.modelName = selection.SelectedModel();
        record_.setAsDefault = selection.SetAsDefault();
        char deviceList[kModelTextSize];
        char classFile[kModelTextSize];
        ModelFilePaths(platform_, record_.printerClass, deviceList, classFile);
        record_.modelFilePath = classFile;
        installMode_ = typed_->installMode.Mode();
        record_.generation = typed_->system.Generation();
        win::DialogSurface* portPage = PageSurface(kPortPageIndex);
        typed_->port.SetInstallMode(installMode_);
        if (portPage != nullptr)
            typed_->port.FillPortList(*portPage, record_.modelName, record_.generation, record_.printerClass);
    }
    SetButtonText(win::IDOK, "Install");
}
