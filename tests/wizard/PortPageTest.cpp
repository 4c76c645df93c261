// The port page against the simulated template 132, the medium's port sections and connected printers.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "platform/sim/SimUsbDevices.h"
#include "resources/resource.h"
#include "setup/wizard/PortPage.h"
#include "tests/wizard/PageTestSupport.h"

using win::sim::SimDialog;

namespace {

constexpr char kBulkDriver[] = "C:\\WINDOWS\\system32\\drivers\\bulkusb.sys";

class PortPageTest : public ::testing::Test {
protected:
    PortPageTest() {
        sim_.windows().WriteFile(
            "C:\\MEDIUM\\language\\setup.ini",
            "[Confirm]\r\nRaster=Raster\r\n"
            "Parity.Even=even parity, longer than twenty bytes\r\n"
            "Parity.Mark=Mark\r\nParity.None=None\r\nParity.Odd=Odd\r\n"
            "Protocol.None=None\r\nProtocol.Xonoff=Xon/Xoff\r\nProtocol.Hardware=hardware\r\n"
            "[Message]\r\nIDS_ERR_ONEPRINTER=one only\r\n");
        std::string ports;
        for (const char* usb : {"U", "COMPACT", "PRINTER", kLongModel.c_str()})
            ports += "[" + std::string(usb) + ".PORT]\r\nUSBSUPPORTED=1\r\n";
        ports += "[P.PORT]\r\nLPTDEFAULT=1\r\n[UP.PORT]\r\nUSBSUPPORTED=1\r\nLPTDEFAULT=1\r\n";
        sim_.windows().WriteFile("C:\\MEDIUM\\DRVCONFIG\\setup_receipt.ini", ports);
        OpenPage(sim_, IDD_SYSTEM_PAGE, system_);  // Windows XP
        d_ = &OpenPage(sim_, IDD_PORT_PAGE, page_);
    }
    void Arrive(const std::string& model, InstallMode mode, PlatformGeneration generation = kGenerationXP) {
        page_.SetInstallMode(mode);
        page_.FillPortList(*d_, model, generation, kPrinterClassReceipt);
    }
    std::string Shown() { return d_->GetDlgItemTextA(IDC_PORT); }
    // The five serial setting lists open and close together: the state of all of them.
    bool SettingsOpen() {
        std::vector<bool> open;
        for (int list : {IDC_BAUD_RATE, IDC_DATA_BITS, IDC_PARITY, IDC_STOP_BITS, IDC_FLOW_CONTROL})
            open.push_back(d_->IsDlgItemEnabled(list) != 0);
        EXPECT_EQ(std::vector<bool>(open.size(), open[0]), open)
            << "baud, data bits, parity, stop bits, flow";
        return open[0];
    }
    bool NoteShown() { return d_->IsDlgItemVisible(IDC_USB_NOTE) != 0; }

    const std::string kLongModel = std::string(150, 'M');
    win::sim::SimPlatform sim_;
    win::sim::SimUsbDevices usb_{sim_.library()};
    SetupContext context_{sim_.platform()};
    RecordingHost host_;
    OperatingSystemPage system_{context_, host_};
    PortPage page_{context_, host_, system_};
    SimDialog* d_ = nullptr;
};

TEST_F(PortPageTest, PortsFollowTheTargetTheModeAndTheModelsPortSection) {
    const struct {
        const char* model;
        InstallMode mode;
        PlatformGeneration generation;
        int usbPorts;
        const char* selected;
    } cases[] = {
        {"PRINTER", kInstallModeTypical, kGenerationXP, 1, "KXCOM1:"},  // a first arrival builds for any name
        {"NoSection", kInstallModeTypical, kGenerationXP, 0, "KXCOM1:"},
        {"U", kInstallModeTypical, kGenerationXP, 1, "KXCOM1:"},
        {"U", kInstallModeAdvanced, kGenerationVista, 4, "KXCOM1:"},
        {"P", kInstallModeAdvanced, kGenerationXP, 0, "LPT1:"},
        {"U", kInstallModeAdvanced, kGenerationNT4, 0, "KXCOM1:"},
        {"U", kInstallModeTypical, kGenerationWin98Me, 1, "COM1:"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.model) + " for generation " + std::to_string(c.generation));
        Arrive(c.model, c.mode, c.generation);
        std::vector<std::string> ports = {"COM1:", "COM2:", "LPT1:"};
        if (c.generation != kGenerationWin98Me)
            ports = {"KXCOM1:", "KXCOM2:", "KXCOM3:", "KXCOM4:", "KXCOM5:", "KXCOM6:",
                     "KXCOM7:", "KXCOM8:", "LPT1:",   "LPT2:",   "LPT3:"};
        for (int n = 1; n <= c.usbPorts; ++n)
            ports.push_back("USB_" + std::string(c.model) + "_" + std::to_string(n));
        EXPECT_EQ(ports, d_->Entries(IDC_PORT));
        EXPECT_EQ(c.selected, Shown());
        EXPECT_EQ(c.selected, page_.SelectedPort());
        bool serial = Shown().find("COM") != std::string::npos;
        EXPECT_EQ(serial, SettingsOpen());
        EXPECT_EQ(serial ? kDriverKindStd : kDriverKindGdi, page_.Kind());
        EXPECT_EQ(!serial, d_->IsDlgItemEnabled(IDC_RASTER) != 0);
        EXPECT_EQ(c.mode == kInstallModeAdvanced, d_->IsDlgItemVisible(IDC_RASTER) != 0);
    }
    EXPECT_TRUE(host_.messages.empty());
}

TEST_F(PortPageTest, AConnectedPrinterChoosesItsUsbPort) {
    sim_.windows().WriteFile(kBulkDriver, "driver");
    sim_.version().SetFileVersion(kBulkDriver, "5.1.2600.0");
    usb_.Connect(0, 2);  // port 3
    Arrive("U", kInstallModeTypical);
    EXPECT_EQ("USB_U_1", page_.SelectedPort()) << "Typical's one USB port takes any printer";
    EXPECT_EQ(std::make_tuple(false, kDriverKindGdi, false),
              std::make_tuple(SettingsOpen(), page_.Kind(), NoteShown()));

    Arrive("U", kInstallModeAdvanced);
    EXPECT_EQ("USB_U_3", page_.SelectedPort());
    EXPECT_EQ(win::BST_CHECKED, d_->IsDlgButtonChecked(IDC_RASTER));
    ASSERT_TRUE(d_->Click(IDC_RASTER));
    EXPECT_EQ(kDriverKindStd, page_.Kind());

    // A name holding "COM" is still a USB port, on arrival and when picked, as the install action takes it.
    Arrive("COMPACT", kInstallModeAdvanced);
    EXPECT_EQ("USB_COMPACT_3", page_.SelectedPort());
    ASSERT_TRUE(d_->Select(IDC_PORT, 0));
    ASSERT_TRUE(d_->Select(IDC_PORT, d_->FindStringExact(IDC_PORT, -1, "USB_COMPACT_2")));
    EXPECT_FALSE(SettingsOpen());

    Arrive(kLongModel, kInstallModeAdvanced);
    EXPECT_EQ("USB_" + kLongModel + "_3", page_.SelectedPort());
    EXPECT_EQ(page_.SelectedPort(), Shown());
}

TEST_F(PortPageTest, WhenNoUsbPortFitsThePortShownIsThePortUsed) {
    usb_.Connect(0, 5);  // port 6: Advanced selects entry 0 before it searches
    Arrive("U", kInstallModeAdvanced);
    EXPECT_EQ("KXCOM1:", Shown());
    EXPECT_EQ("KXCOM1:", page_.SelectedPort());

    // NT 4 offers no USB port: the model's usual port.
    Arrive("UP", kInstallModeTypical, kGenerationNT4);
    EXPECT_EQ(std::make_pair(std::string("LPT1:"), std::string("LPT1:")),
              std::make_pair(Shown(), page_.SelectedPort()));

    // Two printers: said; Advanced finds no port for them, Typical takes its one USB port.
    usb_.Connect(3, 1);
    Arrive("U", kInstallModeAdvanced);
    EXPECT_EQ((std::vector<std::string>{"one only"}), host_.messages);
    EXPECT_EQ("KXCOM1:", page_.SelectedPort());
    EXPECT_EQ(page_.SelectedPort(), Shown());
    Arrive("U", kInstallModeTypical);
    EXPECT_EQ("USB_U_1", page_.SelectedPort());
}

TEST_F(PortPageTest, OnlyAnotherModelOrModeRebuildsTheList) {
    Arrive("U", kInstallModeTypical);
    ASSERT_TRUE(d_->Select(IDC_PARITY, 1));
    ASSERT_TRUE(d_->Select(IDC_PORT, 9));  // LPT2:
    page_.FillPortList(*d_, "U", kGenerationWin98Me, kPrinterClassLabel);
    EXPECT_EQ("LPT2:", Shown());
    EXPECT_EQ("LPT2:", page_.SelectedPort());
    EXPECT_EQ('m', page_.Serial().parity);

    Arrive("U", kInstallModeAdvanced);
    EXPECT_EQ("KXCOM1:", page_.SelectedPort());
    ASSERT_TRUE(d_->Select(IDC_PORT, 2));
    Arrive("COMPACT", kInstallModeAdvanced);
    EXPECT_EQ("KXCOM1:", page_.SelectedPort());
}

TEST_F(PortPageTest, SettingListsSetTheirFieldsAndTheDefaultBaudRateIsTheOneShown) {
    const SerialSettings& s = page_.Serial();
    EXPECT_EQ(std::make_tuple(0, 8, 1.0, 'n', 'p'),
              std::make_tuple(s.baudRate, s.dataBits, s.stopBits, s.parity, s.flowControl));
    EXPECT_EQ("even parity, longer than twenty bytes", d_->Entries(IDC_PARITY).at(0));
    Arrive("U", kInstallModeTypical);
    auto pick = [this](int list, int entry) {
        EXPECT_TRUE(d_->Select(list, entry));
        return page_.Serial();
    };
    EXPECT_EQ(110, pick(IDC_BAUD_RATE, 0).baudRate);
    EXPECT_EQ(5, pick(IDC_DATA_BITS, 0).dataBits);
    EXPECT_EQ(1.5, pick(IDC_STOP_BITS, 1).stopBits);
    // The entry, not its text, gives the setting: Chinese or oddly spelt words give the right letter.
    EXPECT_EQ('e', pick(IDC_PARITY, 0).parity);
    EXPECT_EQ('o', pick(IDC_PARITY, 3).parity);
    EXPECT_EQ('n', pick(IDC_PARITY, 2).parity);
    EXPECT_EQ('x', pick(IDC_FLOW_CONTROL, 1).flowControl);
    EXPECT_EQ('p', pick(IDC_FLOW_CONTROL, 2).flowControl);
    EXPECT_EQ(' ', pick(IDC_FLOW_CONTROL, 0).flowControl);

    for (int value : {9600, 0, 12345}) {
        page_.ApplyDefaultBaudRate(*d_, value);
        EXPECT_EQ(value == 9600 ? 9600 : 38400, page_.Serial().baudRate);
        EXPECT_EQ(std::to_string(page_.Serial().baudRate), d_->GetDlgItemTextA(IDC_BAUD_RATE));
    }
}

TEST_F(PortPageTest, PickingAPortSetsItsKindAndTheNoteShowsWhileTheBulkDriverIsMissing) {
    std::string note;
    ASSERT_LT(0, sim_.ui().LoadStringA(IDS_USB_NOTE, &note));
    Arrive("U", kInstallModeAdvanced);
    const int usb = d_->FindStringExact(IDC_PORT, -1, "USB_U_2");
    ASSERT_TRUE(d_->Select(IDC_PORT, usb));
    EXPECT_EQ(std::make_tuple(false, kDriverKindGdi, true),
              std::make_tuple(SettingsOpen(), page_.Kind(), NoteShown()));
    EXPECT_EQ(note, d_->GetDlgItemTextA(IDC_USB_NOTE));
    ASSERT_TRUE(d_->Select(IDC_PORT, 8));  // LPT1:
    EXPECT_EQ(std::make_tuple(false, kDriverKindGdi, false),
              std::make_tuple(SettingsOpen(), page_.Kind(), NoteShown()));
    ASSERT_TRUE(d_->Select(IDC_PORT, 1));  // KXCOM2:
    EXPECT_EQ(std::make_tuple(true, kDriverKindStd), std::make_tuple(SettingsOpen(), page_.Kind()));
    EXPECT_EQ(win::BST_UNCHECKED, d_->IsDlgButtonChecked(IDC_RASTER));

    // A driver file without a version counts as missing; one with a version hides the note.
    sim_.windows().WriteFile(kBulkDriver, "driver");
    ASSERT_TRUE(d_->Select(IDC_PORT, usb));
    EXPECT_TRUE(NoteShown());
    sim_.version().SetFileVersion(kBulkDriver, "5.1.2600.0");
    ASSERT_TRUE(d_->Select(IDC_PORT, usb));
    EXPECT_FALSE(NoteShown());

    // For 98/Me the note is left as it was.
    sim_.windows().SetVersion(1, 4, 10);
    OpenPage(sim_, IDD_SYSTEM_PAGE, system_);
    sim_.platform().files.DeleteFileA(kBulkDriver);
    ASSERT_TRUE(d_->Select(IDC_PORT, usb));
    EXPECT_FALSE(NoteShown());
}

}  // namespace
