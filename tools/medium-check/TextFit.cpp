#include "tools/medium-check/TextFit.h"

#include <map>
#include <stdexcept>

#include "resources/resource.h"

// The scripts in code page 936 as the build converted them, with the files they include.
const std::map<std::string, std::string>& EmbeddedResourceScripts();

namespace medium {

namespace {

constexpr int kCharacterWidth = 4;  // dialog units of a single-byte character
constexpr int kLineHeight = 8;      // dialog units of a line

// What each kind of control keeps for itself beside the text, in dialog units: a check box's or radio
// button's mark and the gap after it, a group box's indent and the gap around its caption, a push
// button's edges, an edit's margins, the arrow of a drop-down list, a list's scroll bar.
int Reserved(TextRoom room) {
    switch (room) {
        case TextRoom::kStatic: return 0;
        case TextRoom::kPushButton: return 4;
        case TextRoom::kCheck: return 12;
        case TextRoom::kGroupBox: return 12;
        case TextRoom::kEdit: return 4;
        case TextRoom::kComboEntry: return 14;
        case TextRoom::kListEntry: return 14;
    }
    return 0;
}

bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

win::sim::ResourceScript Templates(const char* script) {
    const auto& files = EmbeddedResourceScripts();
    win::sim::ResourceScript templates;
    std::string error;
    if (!win::sim::ParseEmbeddedResourceScript(files.at(script), script, files, &templates, &error))
        throw std::runtime_error(error);
    return templates;
}

}  // namespace

TextRoom RoomKind(const win::sim::ControlTemplate& control, bool entry) {
    if (entry) return control.className == "ComboBox" ? TextRoom::kComboEntry : TextRoom::kListEntry;
    if (control.className == "Edit") return TextRoom::kEdit;
    if (control.className != "Button") return TextRoom::kStatic;
    switch (control.style & win::sim::BS_TYPEMASK) {
        case win::sim::BS_GROUPBOX: return TextRoom::kGroupBox;
        case win::sim::BS_CHECKBOX:
        case win::sim::BS_AUTOCHECKBOX:
        case win::sim::BS_RADIOBUTTON:
        case win::sim::BS_AUTORADIOBUTTON: return TextRoom::kCheck;
        default: return TextRoom::kPushButton;
    }
}

TextSpace RoomOf(const win::sim::ControlTemplate& control, TextRoom room) {
    TextSpace space;
    space.width = control.width - Reserved(room);
    // Statics and edits wrap onto as many lines as their height holds; the others show one line.
    if (room == TextRoom::kStatic || room == TextRoom::kEdit) space.lines = std::max(1, control.height / kLineHeight);
    return space;
}

int TextWidth(const std::string& line, bool prefixes) {
    int width = 0;
    for (size_t i = 0; i < line.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(line[i]);
        if (IsLeadByte(c) && i + 1 < line.size()) {
            width += 2 * kCharacterWidth;
            ++i;
            continue;
        }
        if (prefixes && c == '&') {
            if (i + 1 < line.size() && line[i + 1] == '&') ++i;  // "&&" draws one "&"
            else continue;
        }
        width += kCharacterWidth;
    }
    return width;
}

std::vector<std::string> ShownLines(const std::string& text) {
    std::string shown = text;
    for (const char* marker : {"\\1", "\\2", "\\3"}) {
        size_t at = shown.find(marker);
        if (at != std::string::npos) shown.replace(at, 2, "\r\n");
    }
    std::vector<std::string> lines;
    size_t start = 0;
    for (;;) {
        size_t end = shown.find("\r\n", start);
        lines.push_back(shown.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) break;
        start = end + 2;
    }
    return lines;
}

std::string WhyNotFitting(const std::string& text, const win::sim::ControlTemplate& control, TextRoom room) {
    const TextSpace space = RoomOf(control, room);
    const bool prefixes = room != TextRoom::kEdit && room != TextRoom::kComboEntry && room != TextRoom::kListEntry &&
                          (control.className != "Static" || (control.style & win::sim::SS_NOPREFIX) == 0);
    const std::vector<std::string> lines = ShownLines(text);
    if (static_cast<int>(lines.size()) > space.lines)
        return std::to_string(lines.size()) + " lines, " + std::to_string(lines.size() * kLineHeight) +
               " dialog units high; the control holds " + std::to_string(space.lines) + " (" +
               std::to_string(control.height) + " high)";
    for (size_t n = 0; n < lines.size(); ++n) {
        int width = TextWidth(lines[n], prefixes);
        if (width <= space.width) continue;
        std::string which = lines.size() > 1 ? "line " + std::to_string(n + 1) + " is " : "";
        return which + std::to_string(width) + " dialog units wide; the control leaves " + std::to_string(space.width) +
               " of its " + std::to_string(control.width);
    }
    return "";
}

const std::vector<TextUse>& TextUses() {
    static const std::vector<TextUse> uses = {
        {"setup.ini", "Setup", "Help", IDD_WIZARD, IDC_HELP_HINT, false},
        {"setup.ini", "Setup", "Back", IDD_WIZARD, IDC_BACK, false},
        {"setup.ini", "Setup", "Next", IDD_WIZARD, 1, false},
        {"setup.ini", "Setup", "Install", IDD_WIZARD, 1, false},
        {"setup.ini", "Setup", "Cancel", IDD_WIZARD, 2, false},
        {"setup.ini", "About", "OK", IDD_ABOUTBOX, 1, false},
        {"setup.ini", "About", "Version", IDD_ABOUTBOX, IDC_ABOUT_VERSION, false},
        {"setup.ini", "About", "Copyright", IDD_ABOUTBOX, IDC_ABOUT_COPYRIGHT, false},
        {"setup.ini", "System", "Select", IDD_SYSTEM_PAGE, IDC_SELECT_GROUP, false},
        {"setup.ini", "Series", "Select", IDD_SERIES_PAGE, IDC_SELECT_GROUP, false},
        {"setup.ini", "Series", "Receipt", IDD_SERIES_PAGE, IDC_RECEIPT, false},
        {"setup.ini", "Series", "Ticket", IDD_SERIES_PAGE, IDC_TICKET, false},
        {"setup.ini", "Series", "Label", IDD_SERIES_PAGE, IDC_LABEL, false},
        {"setup.ini", "Series", "Embedded", IDD_SERIES_PAGE, IDC_EMBEDDED, false},
        {"setup.ini", "Series", "Default", IDD_SERIES_PAGE, IDC_SET_DEFAULT, false},
        {"setup.ini", "Mode", "Type", IDD_MODE_PAGE, IDC_MODE_GROUP, false},
        {"setup.ini", "Mode", "Typical", IDD_MODE_PAGE, IDC_TYPICAL, false},
        {"setup.ini", "Mode", "Advanced", IDD_MODE_PAGE, IDC_ADVANCED, false},
        {"setup.ini", "Mode", "Remarks", IDD_MODE_PAGE, IDC_REMARKS, false},
        {"setup.ini", "Mode", "Note1", IDD_MODE_PAGE, IDC_NOTE1, false},
        {"setup.ini", "Mode", "Note2", IDD_MODE_PAGE, IDC_NOTE1, false},
        {"setup.ini", "Mode", "Note3", IDD_MODE_PAGE, IDC_NOTE2, false},
        {"setup.ini", "Message", "IDS_TYPICAL_NOTES", IDD_MODE_PAGE, IDC_NOTE1, false},
        {"setup.ini", "Legal", "Agreement", IDD_LEGAL_PAGE, IDC_AGREEMENT_GROUP, false},
        {"setup.ini", "Legal", "Accept", IDD_LEGAL_PAGE, IDC_ACCEPT, false},
        {"setup.ini", "Legal", "Reject", IDD_LEGAL_PAGE, IDC_REJECT, false},
        {"setup.ini", "Confirm", "Set", IDD_PORT_PAGE, IDC_PORT_GROUP, false},
        {"setup.ini", "Confirm", "Ports", IDD_PORT_PAGE, IDC_PORT_LABEL, false},
        {"setup.ini", "Confirm", "Com", IDD_PORT_PAGE, IDC_SERIAL_GROUP, false},
        {"setup.ini", "Confirm", "BaudRate", IDD_PORT_PAGE, IDC_BAUD_LABEL, false},
        {"setup.ini", "Confirm", "Parity", IDD_PORT_PAGE, IDC_PARITY_LABEL, false},
        {"setup.ini", "Confirm", "ByteSize", IDD_PORT_PAGE, IDC_DATA_BITS_LABEL, false},
        {"setup.ini", "Confirm", "StopBits", IDD_PORT_PAGE, IDC_STOP_BITS_LABEL, false},
        {"setup.ini", "Confirm", "Protocol", IDD_PORT_PAGE, IDC_FLOW_LABEL, false},
        {"setup.ini", "Confirm", "Raster", IDD_PORT_PAGE, IDC_RASTER, false},
        {"setup.ini", "Confirm", "Parity.Even", IDD_PORT_PAGE, IDC_PARITY, true},
        {"setup.ini", "Confirm", "Parity.Mark", IDD_PORT_PAGE, IDC_PARITY, true},
        {"setup.ini", "Confirm", "Parity.None", IDD_PORT_PAGE, IDC_PARITY, true},
        {"setup.ini", "Confirm", "Parity.Odd", IDD_PORT_PAGE, IDC_PARITY, true},
        {"setup.ini", "Confirm", "Parity.Space", IDD_PORT_PAGE, IDC_PARITY, true},
        {"setup.ini", "Confirm", "Protocol.None", IDD_PORT_PAGE, IDC_FLOW_CONTROL, true},
        {"setup.ini", "Confirm", "Protocol.Xonoff", IDD_PORT_PAGE, IDC_FLOW_CONTROL, true},
        {"setup.ini", "Confirm", "Protocol.Hardware", IDD_PORT_PAGE, IDC_FLOW_CONTROL, true},
        {"uninstall.ini", "Uninstall", "Note", IDD_UNINSTALL, IDC_UNINST_NOTE, false},
        {"uninstall.ini", "Uninstall", "Uninstall", IDD_UNINSTALL, IDC_UNINST_START, false},
        {"uninstall.ini", "Uninstall", "Select", IDD_UNINSTALL, IDC_UNINST_SELECT_ALL, false},
        {"uninstall.ini", "Uninstall", "Exit", IDD_UNINSTALL, 2, false},
        {"uninstall.ini", "Reboot", "Note1", IDD_REBOOT, IDC_REBOOT_NOTE1, false},
        {"uninstall.ini", "Reboot", "Note2", IDD_REBOOT, IDC_REBOOT_NOTE2, false},
        {"uninstall.ini", "Reboot", "Note3", IDD_REBOOT, IDC_REBOOT_NOTE3, false},
        {"uninstall.ini", "Reboot", "Yes", IDD_REBOOT, 1, false},
        {"uninstall.ini", "Reboot", "No", IDD_REBOOT, 2, false},
        {"uninstall.ini", "About", "Version", IDD_UNINSTALL_ABOUT, IDC_UNINST_ABOUT_VERSION, false},
        {"uninstall.ini", "About", "Copyright", IDD_UNINSTALL_ABOUT, IDC_UNINST_ABOUT_COPYRIGHT, false},
        {"uninstall.ini", "About", "OK", IDD_UNINSTALL_ABOUT, 1, false},
        // The removal's lines in its log.
        {"uninstall.ini", "Message", "IDS_SELECTPRN1", IDD_UNINSTALL, IDC_UNINST_LOG, true},
        {"uninstall.ini", "Message", "IDS_DELETING1", IDD_UNINSTALL, IDC_UNINST_LOG, true},
        {"uninstall.ini", "Message", "IDS_DELETING2", IDD_UNINSTALL, IDC_UNINST_LOG, true},
        {"uninstall.ini", "Message", "IDS_SUCCESS", IDD_UNINSTALL, IDC_UNINST_LOG, true},
        {"uninstall.ini", "Message", "IDS_USING", IDD_UNINSTALL, IDC_UNINST_LOG, true},
        {"uninstall.ini", "Message", "IDS_ERR_UNINSTALL", IDD_UNINSTALL, IDC_UNINST_LOG, true},
        {"uninstall.ini", "Message", "IDS_ERR_OPENPRN", IDD_UNINSTALL, IDC_UNINST_LOG, true},
        {"uninstall.ini", "Message", "IDS_ERR_HAVEJOB1", IDD_UNINSTALL, IDC_UNINST_LOG, true},
        {"uninstall.ini", "Message", "IDS_ERR_HAVEJOB2", IDD_UNINSTALL, IDC_UNINST_LOG, true},
        {"uninstall.ini", "Message", "IDS_ERR_GETPRNINFO", IDD_UNINSTALL, IDC_UNINST_LOG, true},
        {"uninstall.ini", "Message", "IDS_ERR_ALLOC", IDD_UNINSTALL, IDC_UNINST_LOG, true},
        {"uninstall.ini", "Message", "IDS_ERR_DELPRINTER", IDD_UNINSTALL, IDC_UNINST_LOG, true},
        {"uninstall.ini", "Message", "IDS_DRVDELETING", IDD_UNINSTALL, IDC_UNINST_LOG, true},
        {"uninstall.ini", "Message", "IDS_DRV_SUCCESS", IDD_UNINSTALL, IDC_UNINST_LOG, true},
        {"uninstall.ini", "Message", "IDS_ERR_DRVUSING", IDD_UNINSTALL, IDC_UNINST_LOG, true},
        {"uninstall.ini", "Message", "IDS_ERR_DRVDEL", IDD_UNINSTALL, IDC_UNINST_LOG, true},
        {"uninstall.ini", "Message", "IDS_INF_NOTLISTED", IDD_UNINSTALL, IDC_UNINST_LOG, true},
    };
    return uses;
}

const win::sim::ResourceScript& SetupTemplates() {
    static const win::sim::ResourceScript templates = Templates("setup.rc");
    return templates;
}
const win::sim::ResourceScript& UninstallTemplates() {
    static const win::sim::ResourceScript templates = Templates("uninstall.rc");
    return templates;
}

}  // namespace medium
