// The printer selection page: the four class lists from the device list and the default device.
#include "setup/wizard/PrinterSelectionPage.h"

#include "resources/resource.h"
#include "shared/LanguageText.h"

namespace {

// The radio button and the model list of each class, in class order.
constexpr int kClassRadios[kPrinterClassCount] = {IDC_RECEIPT, IDC_TICKET, IDC_LABEL, IDC_EMBEDDED};
constexpr int kClassLists[kPrinterClassCount] = {IDC_RECEIPT_MODELS, IDC_TICKET_MODELS, IDC_LABEL_MODELS,
                                                 IDC_EMBEDDED_MODELS};

PrinterClass ClassOfRadio(int id) {
    for (PrinterClass c = 0; c < kPrinterClassCount; ++c)
        if (kClassRadios[c] == id) return c;
    return kPrinterClassNone;
}

bool IsModelList(int id) {
    for (int list : kClassLists)
        if (list == id) return true;
    return false;
}

// The text of the list's selected entry; false when nothing is selected.
bool SelectedText(win::DialogSurface& surface, int list, std::string* text) {
    int index = surface.GetCurSel(list);
    return index != win::CB_ERR && surface.GetLBText(list, index, text) != win::CB_ERR;
}

}  // namespace

PrinterSelectionPage::PrinterSelectionPage(SetupContext& context)
    : context_(context), modelConfig_(context.platform) {}

win::BOOL PrinterSelectionPage::OnInit(win::DialogSurface& surface) {
    Exchange(surface, win::FALSE);

    int count = modelConfig_.GetDeviceCount();
    hasModels_ = true;
    for (int n = 1; n <= count; ++n) {
        char name[kDefaultDeviceSize] = {};
        PrinterClass printerClass = modelConfig_.GetDeviceName(n, name);
        if (printerClass >= 0 && printerClass < kPrinterClassCount)
            surface.AddString(kClassLists[printerClass], name);
    }

    bool anyModel = false;
    for (PrinterClass c = 0; c < kPrinterClassCount; ++c) {
        surface.SetCurSel(kClassLists[c], 0);
        surface.EnableDlgItem(kClassLists[c], win::FALSE);
    }
    for (PrinterClass c = 0; c < kPrinterClassCount; ++c) {
        if (surface.GetCount(kClassLists[c]) > 0) {
            anyModel = true;
        } else {
            surface.EnableDlgItem(kClassRadios[c], win::FALSE);
            surface.EnableDlgItem(kClassLists[c], win::FALSE);
        }
    }
    if (!anyModel) hasModels_ = false;

    char defaultName[kDefaultDeviceSize] = {};
    PrinterClass defaultClass = modelConfig_.GetDefaultDevice(defaultName);
    if (defaultClass >= 0 && defaultClass < kPrinterClassCount) {
        // Each radio by itself: a range of ids would also clear the default-printer check box.
        for (PrinterClass c = 0; c < kPrinterClassCount; ++c)
            surface.CheckDlgButton(kClassRadios[c],
                                   c == defaultClass ? win::BST_CHECKED : win::BST_UNCHECKED);
        int list = kClassLists[defaultClass];
        // The name itself first, so "A" is not taken for a longer "AB" further down; only without it
        // the first name that begins with it, from entry 1 on and entry 0 last.
        int found = surface.FindStringExact(list, -1, defaultName);
        if (found == win::CB_ERR) found = surface.FindString(list, 0, defaultName);
        surface.SetCurSel(list, found);
        std::string text;
        if (SelectedText(surface, list, &text)) selectedModel_ = text;
        surface.EnableDlgItem(list, win::TRUE);
    }
    selectedClass_ = defaultClass;
    return win::TRUE;
}

void PrinterSelectionPage::OnShow(win::DialogSurface& surface) {
    LanguageText text(context_.platform, "Series");
    surface.SetDlgItemTextA(IDC_SELECT_GROUP, text.Get("Select").c_str());
    surface.SetDlgItemTextA(IDC_RECEIPT, text.Get("Receipt").c_str());
    surface.SetDlgItemTextA(IDC_TICKET, text.Get("Ticket").c_str());
    surface.SetDlgItemTextA(IDC_LABEL, text.Get("Label").c_str());
    surface.SetDlgItemTextA(IDC_EMBEDDED, text.Get("Embedded").c_str());
    surface.SetDlgItemTextA(IDC_SET_DEFAULT, text.Get("Default").c_str());
}

void PrinterSelectionPage::OnCommand(win::DialogSurface& surface, int id, int notification) {
    PrinterClass clicked = ClassOfRadio(id);
    if (clicked != kPrinterClassNone && notification == win::BN_CLICKED) {
        for (int list : kClassLists) surface.EnableDlgItem(list, win::FALSE);
        // Each list keeps its own selection, so coming back to a class brings back its model.
        std::string text;
        if (SelectedText(surface, kClassLists[clicked], &text))
            selectedModel_ = text;
        else
            selectedModel_.clear();
        surface.EnableDlgItem(kClassLists[clicked], win::TRUE);
        selectedClass_ = clicked;
        return;
    }
    if (IsModelList(id) && notification == win::CBN_SELCHANGE) {
        std::string text;
        if (SelectedText(surface, id, &text))
            selectedModel_ = text;
        else
            selectedModel_.clear();
    }
}

win::BOOL PrinterSelectionPage::Exchange(win::DialogSurface& surface, win::BOOL save) {
    if (save)
        setAsDefault_ = surface.IsDlgButtonChecked(IDC_SET_DEFAULT) == win::BST_CHECKED;
    else
        surface.CheckDlgButton(IDC_SET_DEFAULT, setAsDefault_ ? win::BST_CHECKED : win::BST_UNCHECKED);
    return win::TRUE;
}
