#include "uninstall/UninstallDialog.h"

#include <system_error>
#include <utility>
#include <vector>

#include "resources/resource.h"
#include "shared/Administrator.h"
#include "uninstall/RebootDialog.h"
#include "uninstall/UninstallAboutDialog.h"
#include "uninstall/UninstallComponents.h"

// The removal run names the controls by their numbers; they must be the template's.
static_assert(IDC_UNINSTALL == IDC_UNINST_START, "Uninstall button");
static_assert(IDC_COMPONENTLIST == IDC_UNINST_LIST, "component list");
static_assert(IDC_SELECTALL == IDC_UNINST_SELECT_ALL, "Select all button");
static_assert(IDC_EXIT == win::IDCANCEL, "Exit button");
static_assert(IDC_USBDRIVER == IDC_UNINST_USB, "USB driver check box");

namespace {

constexpr win::DWORD kListStyles =
    win::LVS_EX_GRIDLINES | win::LVS_EX_CHECKBOXES | win::LVS_EX_TRACKSELECT | win::LVS_EX_FULLROWSELECT;

// Windows 2000, XP and Server 2003 are the systems that ask for administrator rights here; Vista and
// later ask through the manifest before the program starts.
bool NeedsAdministrator(int generation) { return generation >= 2 && generation <= 4; }

}  // namespace

UninstallDialog::UninstallDialog(win::Platform& platform, const UninstallText& messages,
                                 std::string applicationName)
    : platform_(platform), messages_(messages), applicationName_(std::move(applicationName)) {}

UninstallDialog::~UninstallDialog() {
    WaitForRemoval();
    if (winspool_ != nullptr) platform_.library.FreeLibrary(winspool_);
}

win::BOOL UninstallDialog::OnInit(win::DialogSurface& surface) {
    surface_ = &surface;
    surface.AppendSystemMenuItem(IDM_ABOUTBOX, messages_.Get("IDS_ABOUTBOX").c_str());
    surface.SetIconResource(IDI_UNINSTALL);
    surface.ListViewSetExtendedStyle(IDC_UNINST_LIST, kListStyles, kListStyles);

    generation_ = DetectGeneration();
    if (NeedsAdministrator(generation_) && !IsUserAdministrator(platform_)) {
        CloseWithMessage(messages_.Get("IDS_ADMIN"));
        return win::FALSE;
    }
    UninstallIniLocation ini = LocateUninstallIni(platform_);
    if (ini.errorKey != nullptr) {
        CloseWithMessage(messages_.Get(ini.errorKey));
        return win::FALSE;
    }
    catalogue_ = std::make_unique<UninstallCatalogue>(platform_, generation_, ini.path);
    FillComponentList();
    if (ComponentCount() == 0) {
        CloseWithMessage(messages_.Get("IDS_ERR_NOPRINTER"));
        return win::FALSE;
    }
    ReportLine(messages_.Get("IDS_SELECTPRN1"));

    UninstallText texts(platform_, "Uninstall");
    surface.SetDlgItemTextA(IDC_UNINST_NOTE, texts.Get("Note").c_str());
    surface.SetDlgItemTextA(IDC_UNINST_START, texts.Get("Uninstall").c_str());
    surface.SetDlgItemTextA(IDC_UNINST_SELECT_ALL, texts.Get("Select").c_str());
    surface.SetDlgItemTextA(win::IDCANCEL, texts.Get("Exit").c_str());
    surface.SetWindowTextA(texts.Get("Title").c_str());

    // Without the extended entry, drivers are deleted with DeletePrinterDriverA.
    win::PFN_DeletePrinterDriverExA deleteDriverEx = nullptr;
    winspool_ = platform_.library.LoadLibraryA("Winspool.drv");
    if (winspool_ == nullptr) {
        ShowMessage(kNoWinspoolText);
    } else {
        deleteDriverEx = win::EntryAs<win::PFN_DeletePrinterDriverExA>(
            platform_.library.GetProcAddress(winspool_, "DeletePrinterDriverExA"));
    }
    engine_ = std::make_unique<RemovalEngine>(platform_, messages_, *catalogue_, deleteDriverEx);
    return win::TRUE;
}

void UninstallDialog::OnCommand(win::DialogSurface& surface, int id, int notification) {
    if (notification != win::BN_CLICKED) return;
    if (id == IDC_UNINST_START) {
        StartRemoval();
    } else if (id == IDC_UNINST_SELECT_ALL) {
        SelectAll();
    } else if (id == win::IDCANCEL) {
        // Exit, Esc, the close box and Alt+F4 all come here; the run disables only the Exit button, so
        // the others are refused here until it has ended.
        if (running_) return;
        WaitForRemoval();
        surface.EndDialog(win::IDCANCEL);
    }
}

win::BOOL UninstallDialog::OnSysCommand(win::DialogSurface& surface, win::UINT command) {
    if ((command & 0xFFF0) != IDM_ABOUTBOX) return win::FALSE;
    UninstallAboutDialog about(platform_);
    platform_.windows.DialogBoxParamA(IDD_UNINSTALL_ABOUT, surface.Handle(), about);
    return win::TRUE;
}

win::BOOL UninstallDialog::OnHelp(win::DialogSurface& surface) {
    win::Windows& windows = platform_.windows;
    win::HWND viewer = windows.FindWindowA(nullptr, kUninstallHelpCaption);
    // The English texts title this dialog "Uninstall" as well: finding ourselves is no open help.
    if (viewer != nullptr && viewer != surface.Handle()) {
        windows.BringWindowToTop(viewer);
        windows.OpenIcon(viewer);
        return win::TRUE;
    }
    if (windows.ShellExecuteA(nullptr, "open", kEnglishHelpFile, nullptr, nullptr, win::SW_SHOW) <= 32)
        windows.ShellExecuteA(nullptr, "open", kChineseHelpFile, nullptr, nullptr, win::SW_SHOW);
    return win::TRUE;
}

void UninstallDialog::FillComponentList() {
    for (const std::string& name : RemovableComponents(platform_, *catalogue_)) {
        OnDialogThread([&](win::DialogSurface& surface) {
            surface.ListViewInsertItem(IDC_UNINST_LIST, surface.ListViewGetItemCount(IDC_UNINST_LIST),
                                       name.c_str());
        });
    }
}

void UninstallDialog::SelectAll() {
    OnDialogThread([](win::DialogSurface& surface) {
        for (int i = 0; i < surface.ListViewGetItemCount(IDC_UNINST_LIST); ++i)
            surface.ListViewSetCheckState(IDC_UNINST_LIST, i, win::TRUE);
    });
}

void UninstallDialog::StartRemoval() {
    // A second click may have been queued before the run disabled the button.
    if (running_ || engine_ == nullptr) return;
    if (!engine_->MayStartRemoval(*this)) return;
    // The last run has made its last call to the dialog; its thread is ending, if not gone.
    WaitForRemoval();
    running_ = true;
    try {
        worker_ = std::thread([this] {
            engine_->RemovalThread(*this);
            running_ = false;
        });
    } catch (const std::system_error&) {
        // No thread, no run: the dialog stays as it was.
        running_ = false;
    }
}

void UninstallDialog::WaitForRemoval() {
    if (worker_.joinable() && worker_.get_id() != std::this_thread::get_id()) worker_.join();
}

void UninstallDialog::CloseWithMessage(const std::string& text) {
    ShowMessage(text);
    if (surface_ != nullptr) surface_->EndDialog(win::IDCANCEL);
}

void UninstallDialog::ShowMessage(const std::string& text) {
    win::HWND owner = surface_ != nullptr ? surface_->Handle() : nullptr;
    platform_.windows.MessageBoxA(owner, text.c_str(), applicationName_.c_str(), win::MB_OK);
}

void UninstallDialog::OnDialogThread(const std::function<void(win::DialogSurface&)>& call) {
    if (surface_ == nullptr) return;
    win::DialogSurface& surface = *surface_;
    surface.RunOnDialogThread([&] { call(surface); });
}

int UninstallDialog::ComponentCount() {
    int count = 0;
    OnDialogThread(
        [&](win::DialogSurface& surface) { count = surface.ListViewGetItemCount(IDC_UNINST_LIST); });
    return count;
}

bool UninstallDialog::IsChecked(int index) {
    bool checked = false;
    OnDialogThread([&](win::DialogSurface& surface) {
        checked = surface.ListViewGetCheckState(IDC_UNINST_LIST, index) != win::FALSE;
    });
    return checked;
}

std::string UninstallDialog::EntryText(int index) {
    std::string text;
    OnDialogThread(
        [&](win::DialogSurface& surface) { text = surface.ListViewGetItemText(IDC_UNINST_LIST, index); });
    return text;
}

void UninstallDialog::RemoveEntry(int index) {
    OnDialogThread([&](win::DialogSurface& surface) { surface.ListViewDeleteItem(IDC_UNINST_LIST, index); });
}

void UninstallDialog::ReportLine(const std::string& text) {
    OnDialogThread([&](win::DialogSurface& surface) {
        surface.AddString(IDC_UNINST_LOG, text.c_str());
        surface.SetCurSel(IDC_UNINST_LOG, surface.GetCount(IDC_UNINST_LOG) - 1);
    });
}

bool UninstallDialog::UsbDriverWanted() {
    bool wanted = false;
    OnDialogThread([&](win::DialogSurface& surface) {
        wanted = surface.IsDlgButtonChecked(IDC_UNINST_USB) == win::BST_CHECKED;
    });
    return wanted;
}

void UninstallDialog::EnableControl(int id, bool enable) {
    OnDialogThread(
        [&](win::DialogSurface& surface) { surface.EnableDlgItem(id, enable ? win::TRUE : win::FALSE); });
}

bool UninstallDialog::AskRestart() {
    bool restart = false;
    // The question is owned by the dialog, so it runs on the dialog's thread.
    OnDialogThread([&](win::DialogSurface& surface) {
        RebootDialog question(platform_);
        restart = platform_.windows.DialogBoxParamA(IDD_REBOOT, surface.Handle(), question) == win::IDOK;
    });
    return restart;
}

int UninstallDialog::DetectGeneration() {
    UninstallGeneration found = DetectUninstallGeneration(platform_);
    if (!found.usbDriverOffered)
        OnDialogThread(
            [](win::DialogSurface& surface) { surface.EnableDlgItem(IDC_UNINST_USB, win::FALSE); });
    return found.generation;
}
