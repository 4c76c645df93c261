// The port page: the port list for the chosen model and target, the serial settings and the driver family.
#include "setup/wizard/PortPage.h"

#include <climits>
#include <cstdlib>

#include "resources/resource.h"
#include "setup/engine/DriverFiles.h"
#include "setup/engine/InstallPreparation.h"
#include "setup/engine/UsbDevice.h"
#include "shared/LanguageText.h"

namespace {

constexpr int kSettingLists[] = {IDC_BAUD_RATE, IDC_DATA_BITS, IDC_PARITY, IDC_STOP_BITS, IDC_FLOW_CONTROL};
const char* const kParityKeys[] = {"Parity.Even", "Parity.Mark", "Parity.None", "Parity.Odd", "Parity.Space"};
const char* const kFlowControlKeys[] = {"Protocol.None", "Protocol.Xonoff", "Protocol.Hardware"};
// The settings the entries stand for, in the same order: the entries' texts are the language file's
// words ("偶校验", "硬件"), not the letters the serial settings take.
const char kParityLetters[] = {'e', 'm', 'n', 'o', 's'};
const char kFlowControlLetters[] = {' ', 'x', 'p'};
// The baud-rate list's entries in order; a rate the list lacks shows as 38400.
constexpr int kBaudRates[] = {110, 300, 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};
constexpr int kFallbackBaudEntry = 7;
constexpr int kSerialPorts = 8;
constexpr int kParallelPorts = 3;
constexpr int kUsbPorts = 4;
constexpr char kNoVersion[] = "0.0.0.0";
constexpr char kUsbDriverFile[] = "\\system32\\drivers\\bulkusb.sys";

// atoi as the run-time gives it, held at the limits instead of overflowing.
int ToInt(const std::string& text) {
    long long value = std::strtoll(text.c_str(), nullptr, 10);
    return static_cast<int>(value < INT_MIN ? INT_MIN : value > INT_MAX ? INT_MAX : value);
}

std::string UsbPortName(const std::string& model, int number) {
    return "USB_" + model + "_" + std::to_string(number);
}

// The text of the list's selected entry, empty when nothing is selected.
std::string SelectedText(win::DialogSurface& surface, int list) {
    std::string text;
    int index = surface.GetCurSel(list);
    if (index == win::CB_ERR || surface.GetLBText(list, index, &text) == win::CB_ERR) text.clear();
    return text;
}

}  // namespace

PortPage::PortPage(SetupContext& context, WizardHost& host, const OperatingSystemPage& systemPage)
    : context_(context), host_(host), systemPage_(systemPage) {
    // Until the navigation applies the model's default rate, the baud-rate list shows nothing.
    serial_.baudRate = 0;
    serial_.flowControl = 'p';
}

win::BOOL PortPage::OnInit(win::DialogSurface& surface) {
    Exchange(surface, win::FALSE);
    LanguageText text(context_.platform, "Confirm");
    for (const char* key : kParityKeys) surface.AddString(IDC_PARITY, text.Get(key).c_str());
    for (const char* key : kFlowControlKeys) surface.AddString(IDC_FLOW_CONTROL, text.Get(key).c_str());
    surface.SetCurSel(IDC_PORT, 0);
    surface.SetCurSel(IDC_DATA_BITS, 3);
    surface.SetCurSel(IDC_STOP_BITS, 0);
    surface.SetCurSel(IDC_PARITY, 2);
    surface.SetCurSel(IDC_FLOW_CONTROL, 2);
    serial_.stopBits = 1.0;
    serial_.dataBits = 8;
    serial_.parity = 'n';
    serial_.flowControl = 'p';

    surface.AddToolTip(IDC_RASTER, IDS_RASTER_TIP, 200);
    surface.SetControlColours(IDC_USB_NOTE, win::RGB(0, 0, 255), win::RGB(255, 202, 253), 14, "Arial");

    lastFilledModel_ = kUnfilledModel;
    installMode_ = kInstallModeTypical;
    lastFilledMode_ = kInstallModeTypical;
    filled_ = false;
    return win::TRUE;
}

void PortPage::OnShow(win::DialogSurface& surface) {
    LanguageText text(context_.platform, "Confirm");
    const struct {
        int id;
        const char* key;
    } kCaptions[] = {
        {IDC_PORT_GROUP, "Set"},           {IDC_PORT_LABEL, "Ports"},    {IDC_SERIAL_GROUP, "Com"},
        {IDC_BAUD_LABEL, "BaudRate"},      {IDC_PARITY_LABEL, "Parity"}, {IDC_DATA_BITS_LABEL, "ByteSize"},
        {IDC_STOP_BITS_LABEL, "StopBits"}, {IDC_FLOW_LABEL, "Protocol"}, {IDC_RASTER, "Raster"}};
    for (const auto& caption : kCaptions) surface.SetDlgItemTextA(caption.id, text.Get(caption.key).c_str());
}

void PortPage::OnCommand(win::DialogSurface& surface, int id, int notification) {
    if (id == IDC_RASTER && notification == win::BN_CLICKED) {
        Exchange(surface, win::TRUE);
        return;
    }
    if (notification != win::CBN_SELCHANGE) return;
    std::string text = SelectedText(surface, id);
    switch (id) {
        case IDC_PORT:
            selectedPort_ = text;
            ApplyPortKind(surface);
            Exchange(surface, win::FALSE);
            break;
        case IDC_BAUD_RATE:
            serial_.baudRate = ToInt(text);
            break;
        case IDC_DATA_BITS:
            serial_.dataBits = ToInt(text);
            break;
        case IDC_STOP_BITS:
            serial_.stopBits = std::strtod(text.c_str(), nullptr);
            break;
        case IDC_PARITY: {
            int entry = surface.GetCurSel(IDC_PARITY);
            if (entry >= 0 && entry < static_cast<int>(sizeof kParityLetters)) serial_.parity = kParityLetters[entry];
            break;
        }
        case IDC_FLOW_CONTROL: {
            int entry = surface.GetCurSel(IDC_FLOW_CONTROL);
            if (entry >= 0 && entry < static_cast<int>(sizeof kFlowControlLetters))
                serial_.flowControl = kFlowControlLetters[entry];
            break;
        }
        default:
            break;
    }
}

win::BOOL PortPage::Exchange(win::DialogSurface& surface, win::BOOL save) {
    if (save)
        driverKind_ =
            surface.IsDlgButtonChecked(IDC_RASTER) == win::BST_CHECKED ? kDriverKindGdi : kDriverKindStd;
    else
        surface.CheckDlgButton(IDC_RASTER,
                               driverKind_ == kDriverKindGdi ? win::BST_CHECKED : win::BST_UNCHECKED);
    return win::TRUE;
}

void PortPage::ApplyDefaultBaudRate(win::DialogSurface& surface, int value) {
    int entry = kFallbackBaudEntry;
    for (int i = 0; i < static_cast<int>(sizeof(kBaudRates) / sizeof(kBaudRates[0])); ++i)
        if (kBaudRates[i] == value) entry = i;
    surface.SetCurSel(IDC_BAUD_RATE, entry);
    // The rate the list shows, so a missing or unlisted value installs as 38400, not as 0.
    serial_.baudRate = ToInt(SelectedText(surface, IDC_BAUD_RATE));
}

void PortPage::FillPortList(win::DialogSurface& surface, const std::string& model,
                            PlatformGeneration generation, PrinterClass printerClass) {
    // The first arrival always builds, whatever the model is called.
    if (filled_ && model == lastFilledModel_ && installMode_ == lastFilledMode_) return;
    filled_ = true;
    lastFilledMode_ = installMode_;
    lastFilledModel_ = model;
    surface.ResetContent(IDC_PORT);

    if (generation != kGenerationWin98Me) {
        for (int n = 1; n <= kSerialPorts; ++n)
            surface.AddString(IDC_PORT, ("KXCOM" + std::to_string(n) + ":").c_str());
        for (int n = 1; n <= kParallelPorts; ++n)
            surface.AddString(IDC_PORT, ("LPT" + std::to_string(n) + ":").c_str());
    } else {
        for (const char* port : {"COM1:", "COM2:", "LPT1:"}) surface.AddString(IDC_PORT, port);
    }

    win::Platform& platform = context_.platform;
    bool usbSupported = ReadModelPortNumber(platform, printerClass, model, "USBSUPPORTED") != 0;
    int lptDefault = ReadModelPortNumber(platform, printerClass, model, "LPTDEFAULT");
    int32_t id = GetUsbDeviceId(platform, context_.messageText,
                                [this](const std::string& text) { host_.ShowMessage(text); });

    if (usbSupported) {
        if (generation != kGenerationNT4) {
            int offered = installMode_ == kInstallModeAdvanced ? kUsbPorts : 1;
            for (int n = 1; n <= offered; ++n) surface.AddString(IDC_PORT, UsbPortName(model, n).c_str());
        }
        if (id != kUsbNoDevice) {
            // The connected printer's port; Typical has only port 1, which takes any printer.
            int number = installMode_ == kInstallModeAdvanced ? UsbPortNumberOfId(id) : 1;
            if (number > kUsbPorts) surface.SetCurSel(IDC_PORT, 0);
            int found = surface.FindStringExact(IDC_PORT, -1, UsbPortName(model, number).c_str());
            if (found != win::CB_ERR) surface.SetCurSel(IDC_PORT, found);
        }
    }
    // No USB port was taken (none offered, no printer, or none for its ID): the model's usual port.
    if (surface.GetCurSel(IDC_PORT) == win::CB_ERR) SelectDefaultPort(surface, lptDefault != 0);
    // The port used is always the one the list shows.
    selectedPort_ = SelectedText(surface, IDC_PORT);
    ApplyPortKind(surface);

    surface.ShowDlgItem(IDC_RASTER, installMode_ == kInstallModeTypical ? win::SW_HIDE : win::SW_SHOW);
    Exchange(surface, win::FALSE);
}

void PortPage::SelectDefaultPort(win::DialogSurface& surface, bool parallel) {
    int index = 0;
    if (parallel) {
        int count = surface.GetCount(IDC_PORT);
        for (int i = count - 1; i >= 0; --i) {
            std::string text;
            if (surface.GetLBText(IDC_PORT, i, &text) != win::CB_ERR && text.find("LPT") != std::string::npos)
                index = i;
        }
    }
    surface.SetCurSel(IDC_PORT, index);
}

void PortPage::ApplyPortKind(win::DialogSurface& surface) {
    // Classified as the install action classifies it, so the page offers what will be installed.
    PortKind kind = ClassifyPort(selectedPort_);
    bool serial = kind == kPortKindSerial;
    for (int list : kSettingLists) surface.EnableDlgItem(list, serial ? win::TRUE : win::FALSE);
    surface.EnableDlgItem(IDC_RASTER, serial ? win::FALSE : win::TRUE);
    driverKind_ = serial ? kDriverKindStd : kDriverKindGdi;
    if (kind == kPortKindUsb)
        ShowUsbNote(surface);
    else
        surface.ShowDlgItem(IDC_USB_NOTE, win::SW_HIDE);
}

void PortPage::ShowUsbNote(win::DialogSurface& surface) {
    // 98/Me and NT 4 installs do not use the bulk driver; their note stays as it is.
    PlatformGeneration target = systemPage_.Generation();
    if (target == kGenerationWin98Me || target == kGenerationNT4) return;
    win::Platform& platform = context_.platform;
    char windows[win::MAX_PATH] = {};
    win::UINT length = platform.files.GetWindowsDirectoryA(windows, win::MAX_PATH);
    std::string directory(windows, length < win::MAX_PATH ? length : 0);
    // No bulk driver yet: tell the user how to get past Windows' own driver prompt.
    if (GetFileVersionString(platform, directory + kUsbDriverFile) == kNoVersion) {
        std::string note;
        platform.windows.LoadStringA(IDS_USB_NOTE, &note);
        surface.SetDlgItemTextA(IDC_USB_NOTE, note.c_str());
        surface.ShowDlgItem(IDC_USB_NOTE, win::SW_SHOW);
    } else {
        surface.ShowDlgItem(IDC_USB_NOTE, win::SW_HIDE);
    }
}
