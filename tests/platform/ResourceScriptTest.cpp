// The resource-script reader on setup's real templates and on the syntax it must refuse.
#include <gtest/gtest.h>

#include "platform/Dialogs.h"
#include "platform/sim/ResourceScript.h"
#include "resources/resource.h"
#include "tests/support/SetupResources.h"
#include "tests/support/UninstallResources.h"

using namespace win::sim;

namespace {

const DialogTemplate& Template(int id) { return SetupResources().dialogs.at(id); }

const ControlTemplate& ControlOf(int dialog, int id) {
    const ControlTemplate* control = Template(dialog).Control(id);
    if (control == nullptr) throw std::runtime_error("no control " + std::to_string(id));
    return *control;
}

bool Hidden(int dialog, int id) { return (ControlOf(dialog, id).style & WS_VISIBLE) == 0; }
bool Disabled(int dialog, int id) { return (ControlOf(dialog, id).style & WS_DISABLED) != 0; }

ResourceScript Parse(const std::string& text, std::string* error) {
    ResourceScript script;
    ParseResourceScript(text, "test.rc", {}, &script, error);
    return script;
}

}  // namespace

TEST(ResourceScriptTest, EveryTemplateOfSetupIsRead) {
    for (int id : {IDD_ABOUTBOX, IDD_WIZARD, IDD_SYSTEM_PAGE, IDD_SERIES_PAGE, IDD_PORT_PAGE, IDD_LEGAL_PAGE,
                   IDD_MODE_PAGE, IDD_PROGRESS}) {
        ASSERT_EQ(1u, SetupResources().dialogs.count(id)) << id;
        EXPECT_EQ(10, Template(id).fontSize) << id;
        EXPECT_EQ("宋体", Template(id).fontFace) << id;
    }
    // Pages are child dialogs that take part in the frame's keyboard handling.
    for (int page : {IDD_SYSTEM_PAGE, IDD_SERIES_PAGE, IDD_PORT_PAGE, IDD_LEGAL_PAGE, IDD_MODE_PAGE}) {
        EXPECT_EQ(WS_CHILD | DS_CONTROL, Template(page).style & (WS_CHILD | DS_CONTROL | WS_VISIBLE)) << page;
    }
}

TEST(ResourceScriptTest, PortPageHasItsControlsKindsAndStates) {
    const DialogTemplate& page = Template(IDD_PORT_PAGE);
    EXPECT_EQ(226, page.width);
    EXPECT_EQ(214, page.height);
    EXPECT_EQ(18u, page.controls.size());
    for (int list : {IDC_PORT, IDC_BAUD_RATE, IDC_PARITY, IDC_DATA_BITS, IDC_STOP_BITS, IDC_FLOW_CONTROL}) {
        EXPECT_EQ("ComboBox", ControlOf(IDD_PORT_PAGE, list).className) << list;
        EXPECT_EQ(CBS_DROPDOWNLIST, ControlOf(IDD_PORT_PAGE, list).style & 0x3) << list;
        // Only the port list is sorted.
        EXPECT_EQ(list == IDC_PORT, (ControlOf(IDD_PORT_PAGE, list).style & CBS_SORT) != 0) << list;
    }
    const ControlTemplate& raster = ControlOf(IDD_PORT_PAGE, IDC_RASTER);
    EXPECT_EQ(BS_AUTOCHECKBOX, raster.style & BS_TYPEMASK);
    EXPECT_EQ("光栅位图打印", raster.text);
    EXPECT_TRUE(Disabled(IDD_PORT_PAGE, IDC_RASTER));
    EXPECT_FALSE(Hidden(IDD_PORT_PAGE, IDC_RASTER));
    for (int hidden : {IDC_USB_NOTE, IDC_PORT_EDIT, IDC_PORT_SPIN})
        EXPECT_TRUE(Hidden(IDD_PORT_PAGE, hidden));
    EXPECT_EQ("msctls_updown32", ControlOf(IDD_PORT_PAGE, IDC_PORT_SPIN).className);
    EXPECT_EQ("Spin1", ControlOf(IDD_PORT_PAGE, IDC_PORT_SPIN).text);
    EXPECT_EQ("Edit", ControlOf(IDD_PORT_PAGE, IDC_PORT_EDIT).className);
    EXPECT_EQ(BS_GROUPBOX, ControlOf(IDD_PORT_PAGE, IDC_SERIAL_GROUP).style & BS_TYPEMASK);
    EXPECT_EQ("数据流控制：", ControlOf(IDD_PORT_PAGE, IDC_FLOW_LABEL).text);
    const ControlTemplate& port = ControlOf(IDD_PORT_PAGE, IDC_PORT);
    EXPECT_EQ((std::vector<int>{63, 21, 136, 74}),
              (std::vector<int>{port.x, port.y, port.width, port.height}));
}

TEST(ResourceScriptTest, PortPageListsStartWithTheirFixedEntries) {
    std::vector<std::string> baud, dataBits, stopBits;
    for (const ListEntry& entry : SetupResources().listEntries.at(IDD_PORT_PAGE)) {
        if (entry.controlId == IDC_BAUD_RATE)
            baud.push_back(entry.text);
        else if (entry.controlId == IDC_DATA_BITS)
            dataBits.push_back(entry.text);
        else if (entry.controlId == IDC_STOP_BITS)
            stopBits.push_back(entry.text);
        else
            ADD_FAILURE() << "entry for control " << entry.controlId;
    }
    EXPECT_EQ((std::vector<std::string>{"110", "300", "1200", "2400", "4800", "9600", "19200", "38400",
                                        "57600", "115200"}),
              baud);
    EXPECT_EQ((std::vector<std::string>{"5", "6", "7", "8"}), dataBits);
    EXPECT_EQ((std::vector<std::string>{"1", "1.5", "2"}), stopBits);
}

TEST(ResourceScriptTest, FrameButtonsAndAreasStartAsTheWizardNeedsThem) {
    EXPECT_TRUE(Disabled(IDD_WIZARD, IDC_BACK));
    EXPECT_TRUE(Disabled(IDD_WIZARD, win::IDOK));
    EXPECT_FALSE(Disabled(IDD_WIZARD, win::IDCANCEL));
    EXPECT_EQ(BS_DEFPUSHBUTTON, ControlOf(IDD_WIZARD, win::IDOK).style & BS_TYPEMASK);
    EXPECT_TRUE(Hidden(IDD_WIZARD, IDC_PAGE_AREA));
    EXPECT_EQ(SS_BLACKFRAME, ControlOf(IDD_WIZARD, IDC_SIDE_PICTURE).style & SS_TYPEMASK);
    EXPECT_EQ("打印机驱动安装程序", Template(IDD_WIZARD).caption);
    EXPECT_EQ("<<上一步（&B）", ControlOf(IDD_WIZARD, IDC_BACK).text);
    // The progress window has no caption.
    EXPECT_EQ(0u, Template(IDD_PROGRESS).style & 0x00C00000);
    EXPECT_EQ("msctls_progress32", ControlOf(IDD_PROGRESS, IDC_PROGRESS).className);
}

TEST(ResourceScriptTest, RadioGroupsStartWithWsGroupAndEndAtTheNextOne) {
    // In each page the first radio opens a group and the first control after the radios closes it.
    struct Group {
        int dialog;
        std::vector<int> radios;
    };
    for (const Group& group :
         {Group{IDD_SERIES_PAGE, {IDC_RECEIPT, IDC_TICKET, IDC_LABEL, IDC_EMBEDDED}},
          Group{IDD_SYSTEM_PAGE,
                {IDC_OS_WIN98, IDC_OS_NT, IDC_OS_2000, IDC_OS_XP, IDC_OS_2003, IDC_OS_VISTA}},
          Group{IDD_LEGAL_PAGE, {IDC_ACCEPT, IDC_REJECT}},
          Group{IDD_MODE_PAGE, {IDC_TYPICAL, IDC_ADVANCED}}}) {
        const std::vector<ControlTemplate>& controls = Template(group.dialog).controls;
        size_t first = 0;
        while (controls[first].id != group.radios[0]) ++first;
        for (size_t i = 0; i < group.radios.size(); ++i) {
            const ControlTemplate& radio = controls[first + i];
            EXPECT_EQ(group.radios[i], radio.id);
            EXPECT_EQ(BS_AUTORADIOBUTTON, radio.style & BS_TYPEMASK) << radio.id;
            EXPECT_EQ(i == 0, (radio.style & WS_GROUP) != 0) << radio.id;
        }
        size_t after = first + group.radios.size();
        if (after < controls.size()) {
            EXPECT_NE(0u, controls[after].style & WS_GROUP) << controls[after].id;
        }
    }
}

TEST(ResourceScriptTest, InstallModeNotesTwoAndThreeAreHidden) {
    EXPECT_FALSE(Hidden(IDD_MODE_PAGE, IDC_NOTE1));
    EXPECT_TRUE(Hidden(IDD_MODE_PAGE, IDC_NOTE2));
    EXPECT_TRUE(Hidden(IDD_MODE_PAGE, IDC_NOTE3));
    EXPECT_EQ("典型安装：安装普通打印机驱动程序", ControlOf(IDD_MODE_PAGE, IDC_NOTE1).text);
    const ControlTemplate& agreement = ControlOf(IDD_LEGAL_PAGE, IDC_AGREEMENT_TEXT);
    EXPECT_EQ(ES_MULTILINE | ES_READONLY, agreement.style & (ES_MULTILINE | ES_READONLY));
}

TEST(ResourceScriptTest, StringsKeepTheirEscapesAndQuotes) {
    EXPECT_EQ("按“F1”查看帮助", SetupResources().strings.at(IDS_RASTER_TIP));
    EXPECT_EQ("1:打印机连接好USB线并打开电源\r\n2:取消USB设备驱动弹出安装\r\n3:点击\"安装(I)\"按钮继续安装",
              SetupResources().strings.at(IDS_USB_NOTE));
}

TEST(ResourceScriptTest, StylesFollowTheKeywordDefaultsAndNot) {
    std::string error;
    ResourceScript script = Parse(
        "#define IDC_A 10\n"
        "#define IDC_B (IDC_A + 1)\n"
        "5 DIALOGEX 0, 0, 100, 50\n"
        "STYLE WS_CHILD /* block\ncomment */\n"
        "BEGIN\n"
        "  LTEXT \"a\", IDC_A, 1, 2, 3, 4\n"
        "  LTEXT \"b\", IDC_B, 1, 2, 3, 4, NOT WS_VISIBLE\n"
        "  PUSHBUTTON \"c\", 12, 1, 2, 3, 4, WS_DISABLED\n"
        "  CONTROL \"d\", 13, \"Static\", SS_ETCHEDHORZ | NOT WS_VISIBLE, 1, 2, 3, 4\n"
        "  COMBOBOX 14, 1, 2, 3, 4 // comment\n"
        "END\n",
        &error);
    ASSERT_EQ("", error);
    const DialogTemplate& dialog = script.dialogs.at(5);
    // Without a style argument a text is a group start; with one the given style replaces that part.
    EXPECT_EQ(WS_CHILD | WS_VISIBLE | WS_GROUP, dialog.Control(10)->style);
    EXPECT_EQ(WS_CHILD, dialog.Control(11)->style);
    EXPECT_EQ(WS_CHILD | WS_VISIBLE | WS_DISABLED | WS_TABSTOP, dialog.Control(12)->style);
    EXPECT_EQ(WS_CHILD | SS_ETCHEDHORZ, dialog.Control(13)->style);
    EXPECT_EQ(WS_CHILD | WS_VISIBLE | WS_TABSTOP | 0x1, dialog.Control(14)->style);
}

TEST(ResourceScriptTest, RefusesWhatItCannotRead) {
    std::string error;
    Parse("5 DIALOGEX 0, 0, 1, 1\nBEGIN\n  LTEXT \"a\", IDC_UNKNOWN, 1, 2, 3, 4\nEND\n", &error);
    EXPECT_NE(std::string::npos, error.find("test.rc:3: unknown name IDC_UNKNOWN")) << error;
    Parse("STRINGTABLE\nBEGIN\n 1 \"open\nEND\n", &error);
    EXPECT_NE(std::string::npos, error.find("unterminated string")) << error;
    Parse("#define F(x) x\n", &error);
    EXPECT_NE(std::string::npos, error.find("macros with arguments")) << error;
    Parse("5 DIALOGEX 0, 0, 1, 1\nBEGIN\n  SCROLLBAR 1, 2, 3, 4, 5\nEND\n", &error);
    EXPECT_NE(std::string::npos, error.find("unknown control SCROLLBAR")) << error;
    Parse("#ifndef X\n", &error);
    EXPECT_NE(std::string::npos, error.find("#if without #endif")) << error;
}

TEST(ResourceScriptTest, UninstallTemplatesHaveTheirControlsWhereTheyBelong) {
    for (int id : {IDD_UNINSTALL_ABOUT, IDD_UNINSTALL, IDD_REBOOT}) {
        ASSERT_EQ(1u, UninstallResources().dialogs.count(id)) << id;
        EXPECT_EQ(9, UninstallResources().dialogs.at(id).fontSize) << id;
        EXPECT_EQ("宋体", UninstallResources().dialogs.at(id).fontFace) << id;
    }
    const DialogTemplate& main = UninstallResources().dialogs.at(IDD_UNINSTALL);
    EXPECT_EQ("打印机卸载程序", main.caption);
    EXPECT_EQ(WS_POPUP | WS_VISIBLE | WS_SYSMENU, main.style & (WS_POPUP | WS_VISIBLE | WS_SYSMENU));
    EXPECT_EQ(0x00040000u, main.exStyle) << "shown in the task bar";
    struct Expected {
        int id;
        const char* className;
        int x, y, width, height;
    };
    for (const Expected& e : std::vector<Expected>{{IDC_UNINST_NOTE, "Edit", 7, 5, 231, 12},
                                                   {IDC_UNINST_LIST, "SysListView32", 7, 20, 231, 59},
                                                   {IDC_UNINST_USB, "Button", 13, 84, 76, 10},
                                                   {IDC_UNINST_LOG, "ListBox", 7, 100, 231, 46},
                                                   {IDC_UNINST_START, "Button", 7, 154, 63, 19},
                                                   {IDC_UNINST_SELECT_ALL, "Button", 91, 154, 63, 19},
                                                   {win::IDCANCEL, "Button", 175, 154, 63, 19}}) {
        const ControlTemplate* control = main.Control(e.id);
        ASSERT_NE(nullptr, control) << e.id;
        EXPECT_EQ(e.className, control->className) << e.id;
        EXPECT_EQ((std::vector<int>{e.x, e.y, e.width, e.height}),
                  (std::vector<int>{control->x, control->y, control->width, control->height}))
            << e.id;
    }
    EXPECT_EQ(7u, main.controls.size());
    // The note is read-only text without a frame that the focus passes over.
    const ControlTemplate& note = *main.Control(IDC_UNINST_NOTE);
    EXPECT_EQ(ES_MULTILINE | ES_READONLY,
              note.style & (ES_MULTILINE | ES_READONLY | WS_TABSTOP | 0x00800000));
    EXPECT_EQ(LVS_LIST, main.Control(IDC_UNINST_LIST)->style & 0x3);
    const ControlTemplate& log = *main.Control(IDC_UNINST_LOG);
    EXPECT_EQ(0u, log.style & LBS_SORT);
    EXPECT_EQ(0x101u, log.style & 0x101) << "notify, no integral height";
    EXPECT_EQ(BS_AUTOCHECKBOX, main.Control(IDC_UNINST_USB)->style & BS_TYPEMASK);

    const DialogTemplate& reboot = UninstallResources().dialogs.at(IDD_REBOOT);
    EXPECT_EQ(164, reboot.width);
    EXPECT_EQ(70, reboot.height);
    EXPECT_EQ(BS_DEFPUSHBUTTON, reboot.Control(win::IDOK)->style & BS_TYPEMASK);
    EXPECT_EQ(SS_ICON, reboot.controls.back().style & SS_TYPEMASK);
    EXPECT_EQ(std::to_string(IDI_REBOOT), reboot.controls.back().text);
}
