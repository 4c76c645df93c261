// The agreement page: the licence text and the accept/reject choice that gates the Next button.
#include "setup/wizard/AgreementPage.h"

#include <memory>
#include <new>

#include "platform/FileHandles.h"
#include "resources/resource.h"
#include "shared/LanguageText.h"

win::BOOL AgreementPage::OnInit(win::DialogSurface& surface) {
    surface.CheckRadioButton(IDC_ACCEPT, IDC_REJECT, IDC_REJECT);
    // Read-only, the text would be greyed; the licence is meant to be read.
    surface.SetControlColours(IDC_AGREEMENT_TEXT, win::SystemColour(win::COLOR_WINDOWTEXT),
                              win::SystemColour(win::COLOR_WINDOW), 0, nullptr);

    win::Files& files = context_.platform.files;
    win::FileHandle file(files,
                         files.CreateFileA(kLicenseFile, win::GENERIC_READ, win::FILE_SHARE_READ, nullptr,
                                           win::OPEN_EXISTING, win::FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
        host_.ShowMessage(context_.messageText.Get("IDS_ERR_NOLICENSE"));
        host_.CancelWizard();
        return win::FALSE;
    }

    win::DWORD size = files.GetFileSize(file.Get(), nullptr);
    if (size == win::INVALID_FILE_SIZE) return win::FALSE;
    // Bytes as they are, in the system's code page; a zero byte ends the text there.
    std::unique_ptr<char[]> text(new (std::nothrow) char[static_cast<size_t>(size) + 1]());
    if (!text) return win::FALSE;
    win::DWORD total = 0;
    while (total < size) {
        win::DWORD read = 0;
        if (!files.ReadFile(file.Get(), text.get() + total, size - total, &read, nullptr) || read == 0) break;
        total += read;
    }
    file.Close();
    surface.SetDlgItemTextA(IDC_AGREEMENT_TEXT, text.get());
    return win::TRUE;
}

void AgreementPage::OnShow(win::DialogSurface& surface) {
    LanguageText text(context_.platform, "Legal");
    surface.SetDlgItemTextA(IDC_AGREEMENT_GROUP, text.Get("Agreement").c_str());
    surface.SetDlgItemTextA(IDC_ACCEPT, text.Get("Accept").c_str());
    surface.SetDlgItemTextA(IDC_REJECT, text.Get("Reject").c_str());
}

void AgreementPage::OnCommand(win::DialogSurface&, int id, int notification) {
    if (notification != win::BN_CLICKED) return;
    if (id == IDC_ACCEPT) host_.EnableNext(true);
    if (id == IDC_REJECT) host_.EnableNext(false);
}
