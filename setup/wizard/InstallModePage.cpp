// The install-mode page: the Typical/Advanced choice and its notes.
#include "setup/wizard/InstallModePage.h"

#include "resources/resource.h"
#include "shared/LanguageText.h"

win::BOOL InstallModePage::OnInit(win::DialogSurface& surface) {
    mode_ = kInstallModeTypical;
    surface.CheckRadioButton(IDC_TYPICAL, IDC_ADVANCED, IDC_TYPICAL);
    surface.SetDlgItemTextA(IDC_NOTE1, LanguageText(context_.platform, "Mode").Get("Note1").c_str());
    return win::TRUE;
}

void InstallModePage::OnShow(win::DialogSurface& surface) {
    LanguageText text(context_.platform, "Mode");
    surface.SetDlgItemTextA(IDC_MODE_GROUP, text.Get("Type").c_str());
    surface.SetDlgItemTextA(IDC_TYPICAL, text.Get("Typical").c_str());
    surface.SetDlgItemTextA(IDC_ADVANCED, text.Get("Advanced").c_str());
    surface.SetDlgItemTextA(IDC_REMARKS, text.Get("Remarks").c_str());
}

void InstallModePage::OnCommand(win::DialogSurface& surface, int id, int notification) {
    if (notification != win::BN_CLICKED) return;
    LanguageText text(context_.platform, "Mode");
    if (id == IDC_TYPICAL) {
        surface.SetDlgItemTextA(IDC_NOTE1, text.Get("Note1").c_str());
        surface.ShowDlgItem(IDC_NOTE2, win::SW_HIDE);
        surface.ShowDlgItem(IDC_NOTE3, win::SW_HIDE);
        mode_ = kInstallModeTypical;
    } else if (id == IDC_ADVANCED) {
        surface.SetDlgItemTextA(IDC_NOTE1, text.Get("Note2").c_str());
        surface.SetDlgItemTextA(IDC_NOTE2, text.Get("Note3").c_str());
        surface.ShowDlgItem(IDC_NOTE2, win::SW_SHOW);
        surface.ShowDlgItem(IDC_NOTE3, win::SW_HIDE);
        mode_ = kInstallModeAdvanced;
    }
}

void InstallModePage::OfferAdvanced(win::DialogSurface& surface, bool offered) {
    if (offered) {
        surface.EnableDlgItem(IDC_ADVANCED, win::TRUE);
        return;
    }
    surface.EnableDlgItem(IDC_ADVANCED, win::FALSE);
    surface.CheckRadioButton(IDC_TYPICAL, IDC_ADVANCED, IDC_TYPICAL);
    surface.SetDlgItemTextA(IDC_NOTE1, context_.messageText.Get("IDS_TYPICAL_NOTES").c_str());
    surface.ShowDlgItem(IDC_NOTE2, win::SW_HIDE);
    surface.ShowDlgItem(IDC_NOTE3, win::SW_HIDE);
    mode_ = kInstallModeTypical;
}
