#include "uninstall/UninstallAboutDialog.h"

#include "resources/resource.h"
#include "uninstall/UninstallText.h"

win::BOOL UninstallAboutDialog::OnInit(win::DialogSurface& surface) {
    UninstallText about(platform_, "About");
    surface.SetDlgItemTextA(IDC_UNINST_ABOUT_VERSION, about.Get("Version").c_str());
    surface.SetDlgItemTextA(IDC_UNINST_ABOUT_COPYRIGHT, about.Get("Copyright").c_str());
    surface.SetDlgItemTextA(win::IDOK, about.Get("OK").c_str());
    surface.SetWindowTextA(about.Get("Title").c_str());
    return win::TRUE;
}

void UninstallAboutDialog::OnCommand(win::DialogSurface& surface, int id, int) {
    if (id == win::IDOK || id == win::IDCANCEL) surface.EndDialog(id);
}
