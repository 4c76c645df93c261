#include "uninstall/RebootDialog.h"

#include "resources/resource.h"
#include "uninstall/UninstallText.h"

win::BOOL RebootDialog::OnInit(win::DialogSurface& surface) {
    UninstallText reboot(platform_, "Reboot");
    surface.SetDlgItemTextA(IDC_REBOOT_NOTE1, reboot.Get("Note1").c_str());
    surface.SetDlgItemTextA(IDC_REBOOT_NOTE2, reboot.Get("Note2").c_str());
    surface.SetDlgItemTextA(IDC_REBOOT_NOTE3, reboot.Get("Note3").c_str());
    surface.SetDlgItemTextA(win::IDOK, reboot.Get("Yes").c_str());
    surface.SetDlgItemTextA(win::IDCANCEL, reboot.Get("No").c_str());
    surface.SetWindowTextA(reboot.Get("Title").c_str());
    return win::TRUE;
}

void RebootDialog::OnCommand(win::DialogSurface& surface, int id, int) {
    if (id == win::IDOK || id == win::IDCANCEL) surface.EndDialog(id);
}
