// The Install button on the last page, on the sample medium against the simulated Windows: what is
// refused before anything changes, the USB steps, the progress window and the close.
#include <fstream>
#include <iterator>
#include <set>
#include <thread>

#include <regex>

#include "platform/sim/SimUsbDevices.h"
#include "setup/engine/FixedDriverFiles.h"
#include "setup/wizard/ProgressWindow.h"
#include "tests/wizard/WizardFixture.h"

namespace {

class InstallActionTest : public WizardTest {
protected:
    void SetUp() override {
        WizardTest::SetUp();
        // The progress window ticks until it closes itself, letting the worker run meanwhile.
        sim_.ui().modalScripts[IDD_PROGRESS] = [this](SimDialog& progress) {
            progressShown_ = true;
            for (int tick = 0; tick < 1000000 && !progress.ended(); ++tick) {
                if (!progress.Timer(ProgressWindow::kTimer)) break;
                std::this_thread::yield();
            }
        };
    }

    // Pages through with the model of the class list's entry, then picks the port and presses Install.
    void Install(int radio, int list, int entry, const std::string& port, bool advanced = false) {
        Run([=](SimDialog& frame) {
            ToModelChoice(radio, list, entry);
            Next();
            if (advanced) Page(kInstallModePageIndex).Click(IDC_ADVANCED);
            Next();
            Next();
            SimDialog& portPage = Page(kPortPageIndex);
            int at = portPage.FindStringExact(IDC_PORT, -1, port.c_str());
            ASSERT_NE(win::CB_ERR, at) << port;
            if (portPage.GetCurSel(IDC_PORT) != at) {
                ASSERT_TRUE(portPage.Select(IDC_PORT, at));
            }
            Next();
            stayed_ = !frame.ended();
            frameWindow_ = frame.Handle();
            // The frame lives only while setup runs.
            const InstallRecord& record = frame_->Record();
            printerName_ = record.printerName;
            portName_ = record.portName;
            recordPortName_ = record.recordPortName;
            serial_ = record.serial;
            driverKind_ = record.driverKind;
        });
    }

    // The source medium lacks the driver files a release places: every file its model files name, and
    // those setup copies under its own names, in each generation's folder, so the installation succeeds.
    void PlaceDriverFiles() {
        std::set<std::string> names;
        for (int id = 0; id < kFixedDriverFileCount; ++id)
            names.insert(GetFixedDriverFile(static_cast<FixedDriverFileId>(id)).name);
        const std::regex file(R"(=([A-Za-z0-9_.-]+\.(dll|DLL|dat|DAT|gpd|GPD|hlp|HLP|ini|INI)))");
        for (const auto& entry : fs::directory_iterator(sim_.windows().HostPath("C:\\MEDIUM\\DRVCONFIG"))) {
            std::ifstream in(entry.path(), std::ios::binary);
            std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            for (std::sregex_iterator it(bytes.begin(), bytes.end(), file), end; it != end; ++it) names.insert((*it)[1]);
        }
        for (const char* folder : {"win98", "winnt", "win2003", "Vista"})
            for (const std::string& name : names)
                sim_.windows().WriteFile(std::string("C:\\MEDIUM\\") + folder + "\\" + name, name);
        sim_.spooler().DefineMonitorPorts("VLCOMMON.DLL", {"KXCOM1:", "KXCOM2:", "KXCOM3:"});
        // Windows' own unidriver files, which the raster drivers name beside theirs.
        for (const char* name : {"UNIDRV.DLL", "UNIDRVUI.DLL", "UNIDRV.HLP", "UNIRES.DLL", "TTFSUB.GPD", "STDNAMES.GPD"})
            sim_.windows().WriteFile(std::string("C:\\WINDOWS\\system32\\spool\\drivers\\w32x86\\3\\") + name,
                                     name);
    }

    bool progressShown_ = false;
    bool stayed_ = false;
    win::HWND frameWindow_ = nullptr;
    std::string printerName_, portName_, recordPortName_;
    SerialSettings serial_;
    DriverKind driverKind_ = -1;
};

TEST_F(InstallActionTest, ASerialPortRunsTheInstallationBehindTheProgressWindowAndCloses) {
    Install(IDC_RECEIPT, IDC_RECEIPT_MODELS, 0, "KXCOM3:");
    EXPECT_TRUE(progressShown_);
    EXPECT_FALSE(stayed_);
    EXPECT_EQ("ZMX-M530(S)", printerName_.substr(0, 11));
    EXPECT_EQ("KXCOM3:", portName_);
    EXPECT_EQ(38400, serial_.baudRate);
    ASSERT_FALSE(sim_.ui().MessageBoxes().empty()) << "the outcome is shown";
    EXPECT_EQ(win::IDOK, sim_.ui().ModalDialogs().back().result);
    // The wizard stepped aside while the worker ran.
    std::vector<std::string> calls;
    for (const auto& call : sim_.ui().WindowCalls()) calls.push_back(call.operation);
    EXPECT_NE(calls.end(), std::find(calls.begin(), calls.end(), "ShowWindow minimised"));
    EXPECT_NE(calls.end(), std::find(calls.begin(), calls.end(), "SetWindowPos topmost"));
}

TEST_F(InstallActionTest, AParallelPortNamesThePrinterP) {
    Install(IDC_TICKET, IDC_TICKET_MODELS, 0, "LPT1:");  // ZMX-T300 preselects LPT1:
    EXPECT_FALSE(stayed_);
    EXPECT_NE(std::string::npos, printerName_.find("(P)"));
    EXPECT_EQ(kDriverKindGdi, driverKind_);
}

TEST_F(InstallActionTest, WithoutAModelNothingHappensButTheMessage) {
    sim_.windows().WriteFile("C:\\MEDIUM\\DRVCONFIG\\setup.ini",
                             "[DEVICENAME]\r\nDEVICENUMBER=1\r\nDEVICENAME1=ZMX-M530-ReceiptPrinter\r\n");
    Run([this](SimDialog& frame) {
        Page(0).Click(IDC_ACCEPT);
        for (int i = 0; i < 4; ++i) Next();
        EXPECT_EQ(kPortPageIndex, VisiblePage());
        Next();
        EXPECT_FALSE(frame.ended());
        EXPECT_EQ(std::vector<std::string>{Text("Message", "IDS_ERR_SELPRINTER")}, MessageTexts());
        frame.Click(win::IDCANCEL);
    });
    EXPECT_FALSE(progressShown_);
}

TEST_F(InstallActionTest, TypicalUsbWithoutAPrinterGoesOnAsPortOne) {
    // An up-to-date driver: its installer is not started.
    for (const char* path : {"C:\\MEDIUM\\USBDrv\\bulkusb.sys", "C:\\WINDOWS\\system32\\drivers\\bulkusb.sys"}) {
        sim_.windows().WriteFile(path, "driver");
        sim_.version().SetFileVersion(path, "2.0.0.1");
    }
    Install(IDC_TICKET, IDC_TICKET_MODELS, 1, "USB_ZMX-T310_1");
    EXPECT_TRUE(progressShown_);
    EXPECT_NE(std::string::npos, printerName_.find("(U) 1"));
    EXPECT_TRUE(sim_.ui().ShellCalls().empty());
}

TEST_F(InstallActionTest, TypicalUsbAsksBeforeMovingThePrinterToPortOne) {
    usb_.Connect(0, 9);  // port 2
    sim_.ui().messageBoxAnswers = {win::IDNO};
    Install(IDC_TICKET, IDC_TICKET_MODELS, 1, "USB_ZMX-T310_1");
    EXPECT_TRUE(stayed_) << "No ends the action on the last page";
    EXPECT_FALSE(progressShown_);
    EXPECT_EQ(9, usb_.ids[0]);
    EXPECT_EQ(std::vector<std::string>{Text("Message", "IDS_INF_CHANGEID")}, MessageTexts());
}

TEST_F(InstallActionTest, TypicalUsbYesMovesThePrinterToPortOne) {
    usb_.Connect(0, 9);
    sim_.ui().messageBoxAnswers = {win::IDYES};
    Install(IDC_TICKET, IDC_TICKET_MODELS, 1, "USB_ZMX-T310_1");
    EXPECT_FALSE(stayed_);
    EXPECT_EQ(0, usb_.ids[0]) << "ID 1 travels as 0";
    EXPECT_EQ(Text("Message", "IDS_INF_CHANGEID"), sim_.ui().MessageBoxes().at(0).text);
}

TEST_F(InstallActionTest, AdvancedUsbAsksOnlyWhenThePrintersIdNamesAnotherPort) {
    usb_.Connect(0, 2);  // port 3: chosen by the port page itself, nothing to ask or write
    Install(IDC_TICKET, IDC_TICKET_MODELS, 1, "USB_ZMX-T310_3", true);
    EXPECT_FALSE(stayed_);
    EXPECT_EQ(2, usb_.ids[0]);
    for (const auto& box : sim_.ui().MessageBoxes()) EXPECT_NE(Text("Message", "IDS_INF_CHANGEID"), box.text);
    EXPECT_NE(std::string::npos, printerName_.find("(U) 3"));
}

TEST_F(InstallActionTest, AdvancedUsbYesWritesThePortsNumber) {
    usb_.Connect(0, 0);  // port 1
    sim_.ui().messageBoxAnswers = {win::IDYES};
    Install(IDC_TICKET, IDC_TICKET_MODELS, 1, "USB_ZMX-T310_3", true);
    EXPECT_FALSE(stayed_);
    EXPECT_EQ(2, usb_.ids[0]) << "ID 3 travels as 2";
}

TEST_F(InstallActionTest, AdvancedUsbNoKeepsThePrintersIdAndTheWizardOnTheLastPage) {
    usb_.Connect(0, 0);  // port 1
    sim_.ui().messageBoxAnswers = {win::IDNO};
    Install(IDC_TICKET, IDC_TICKET_MODELS, 1, "USB_ZMX-T310_3", true);
    EXPECT_EQ(std::vector<std::string>{Text("Message", "IDS_INF_CHANGEID")}, MessageTexts());
    EXPECT_EQ(static_cast<win::UINT>(win::MB_YESNO), sim_.ui().MessageBoxes().at(0).type);
    EXPECT_TRUE(stayed_);
    EXPECT_FALSE(progressShown_);
    EXPECT_EQ(0, usb_.ids[0]);
    EXPECT_TRUE(usb_.writes.empty());
    EXPECT_TRUE(sim_.spooler().printers.empty());
}

TEST_F(InstallActionTest, TypicalUsbWhoseIdCannotBeWrittenEndsWithTheWritersOwnMessage) {
    usb_.Connect(0, 9);  // port 2
    usb_.writeFails = true;
    sim_.ui().messageBoxAnswers = {win::IDYES};
    Install(IDC_TICKET, IDC_TICKET_MODELS, 1, "USB_ZMX-T310_1");
    // Advanced would add "Failed to set Printer ID!"; Typical says only what the write said.
    EXPECT_EQ((std::vector<std::string>{Text("Message", "IDS_INF_CHANGEID"), "write ID error"}),
              MessageTexts());
    EXPECT_TRUE(stayed_);
    EXPECT_FALSE(progressShown_);
    EXPECT_EQ(9, usb_.ids[0]);
    EXPECT_TRUE(sim_.spooler().printers.empty());
}

TEST_F(InstallActionTest, AFailedInstallationIsShownOverTheWizardWhichThenCloses) {
    sim_.windows().InjectFault("AddMonitorA", 5);
    Install(IDC_RECEIPT, IDC_RECEIPT_MODELS, 0, "KXCOM3:");
    EXPECT_TRUE(progressShown_);
    EXPECT_FALSE(stayed_);
    ASSERT_EQ(std::vector<std::string>{Text("Message", "IDS_ERR_ADDMONITOR") + " Erro code is:5"},
              MessageTexts())
        << "the failure, not the closing message";
    EXPECT_EQ(frameWindow_, sim_.ui().MessageBoxes()[0].owner);
    EXPECT_TRUE(sim_.spooler().printers.empty());
    EXPECT_EQ(win::IDOK, sim_.ui().ModalDialogs().back().result);
}

TEST_F(InstallActionTest, AfterTheClosingMessageYesSendsATestPageAndSaysTheSpoolerTookIt) {
    PlaceDriverFiles();
    sim_.ui().messageBoxAnswers = {win::IDOK, win::IDYES};
    Install(IDC_RECEIPT, IDC_RECEIPT_MODELS, 0, "KXCOM3:");
    std::vector<std::string> texts = MessageTexts();
    ASSERT_EQ(3u, texts.size()) << "closing message, question, answer";
    EXPECT_EQ(Text("Message", "IDS_INF_TESTPAGE"), texts[1]);
    EXPECT_EQ(win::UINT(win::MB_YESNO), sim_.ui().MessageBoxes()[1].type & 0xF);
    EXPECT_EQ(Text("Message", "IDS_INF_TESTPAGEDONE"), texts[2]);
    ASSERT_EQ(1u, sim_.spooler().printedJobs.size());
    const win::sim::SimSpooler::Job& job = sim_.spooler().printedJobs[0];
    EXPECT_EQ(printerName_, job.printer);
    EXPECT_EQ("KXCOM3:", job.port);
    EXPECT_EQ("RAW", job.datatype);
    EXPECT_NE(std::string::npos, job.data.find("Port:    KXCOM3:\n")) << job.data;
    EXPECT_EQ(0u, sim_.spooler().OpenPrinterCount());
    EXPECT_FALSE(stayed_);
}

TEST_F(InstallActionTest, NoToTheTestPagePrintsNothing) {
    PlaceDriverFiles();
    sim_.ui().messageBoxAnswers = {win::IDOK, win::IDNO};
    Install(IDC_RECEIPT, IDC_RECEIPT_MODELS, 0, "KXCOM3:");
    EXPECT_EQ(2u, MessageTexts().size());
    EXPECT_TRUE(sim_.spooler().printedJobs.empty());
}

TEST_F(InstallActionTest, ATestPageTheSpoolerRefusesIsSaidWithTheCallAndItsError) {
    PlaceDriverFiles();
    sim_.windows().InjectFault("StartDocPrinterA", win::ERROR_INVALID_DATATYPE);
    sim_.ui().messageBoxAnswers = {win::IDOK, win::IDYES};
    Install(IDC_RECEIPT, IDC_RECEIPT_MODELS, 0, "LPT1:");
    std::vector<std::string> texts = MessageTexts();
    ASSERT_EQ(3u, texts.size());
    EXPECT_EQ(Text("Message", "IDS_ERR_TESTPAGE") + "\r\n(StartDocPrinter: error " +
                  std::to_string(win::ERROR_INVALID_DATATYPE) + ")",
              texts[2]);
    EXPECT_TRUE(sim_.spooler().printedJobs.empty());
    EXPECT_EQ(0u, sim_.spooler().OpenPrinterCount());
}

TEST_F(InstallActionTest, TextsWithoutTheTestPageQuestionCloseAsBefore) {
    PlaceDriverFiles();
    const char texts[] = "C:\\MEDIUM\\language\\setup.ini";
    std::string bytes;
    ASSERT_TRUE(sim_.windows().ReadFile(texts, &bytes));
    size_t at = bytes.find("IDS_INF_TESTPAGE=");
    ASSERT_NE(std::string::npos, at);
    bytes.erase(at, bytes.find('\n', at) + 1 - at);
    sim_.windows().WriteFile(texts, bytes);
    Install(IDC_RECEIPT, IDC_RECEIPT_MODELS, 0, "KXCOM2:");
    EXPECT_EQ(1u, MessageTexts().size());
    EXPECT_TRUE(sim_.spooler().printedJobs.empty());
    EXPECT_FALSE(stayed_);
}

TEST_F(InstallActionTest, SetupWaitsForAsLongAsTheUsbDriverInstallersWindowIsOpen) {
    sim_.windows().WriteFile("C:\\MEDIUM\\USBDrv\\bulkusb.sys", "driver");
    sim_.version().SetFileVersion("C:\\MEDIUM\\USBDrv\\bulkusb.sys", "2.0.0.1");
    const std::string caption = Text("Setup", "CaptionName");
    ASSERT_FALSE(caption.empty());
    sim_.ui().CloseAfterFinds(sim_.ui().AddTopLevelWindow(caption), 3);
    Install(IDC_TICKET, IDC_TICKET_MODELS, 1, "USB_ZMX-T310_1");
    ASSERT_EQ(1u, sim_.ui().ShellCalls().size());
    EXPECT_EQ(nullptr, sim_.ui().FindWindowA(nullptr, caption.c_str()))
        << "the window was looked for until gone";
    // 500 ms, a second for each of the three looks that found the window, then 1000 and 2000 ms.
    ASSERT_LE(6u, sim_.windows().sleeps.size());
    std::vector<win::DWORD> sleeps(sim_.windows().sleeps.begin(), sim_.windows().sleeps.begin() + 6);
    EXPECT_EQ((std::vector<win::DWORD>{500, 1000, 1000, 1000, 1000, 2000}), sleeps);
    EXPECT_TRUE(progressShown_);
}

TEST_F(InstallActionTest, TheL5FamilySharesItsUsbPort) {
    Install(IDC_RECEIPT, IDC_RECEIPT_MODELS, 2, "USB_ZMX-L58_1");  // ZMX-L58
    EXPECT_EQ("USB_ZMX-L58_1", portName_);
    EXPECT_EQ("USB_ZMX-L5_1", recordPortName_);
    EXPECT_NE(std::string::npos, printerName_.find("(U) 1"));
}

TEST_F(InstallActionTest, NinetyEightWaitsForTheWorkerThenOffersARestartAndSaysWhenItFails) {
    sim_.windows().SetVersion(win::VER_PLATFORM_WIN32_WINDOWS, 4, 10);
    sim_.windows().InjectFault("ExitWindowsEx", 5);
    sim_.ui().messageBoxAnswers = {win::IDOK, win::IDYES};
    // The window may close at 90 before the worker ends (ProgressWindowTest shows it); the outcome waits.
    Install(IDC_RECEIPT, IDC_RECEIPT_MODELS, 0, "COM1:");
    std::vector<std::string> texts = MessageTexts();
    ASSERT_EQ(3u, texts.size());
    EXPECT_FALSE(texts[0].empty()) << "the outcome, once the worker has ended";
    EXPECT_EQ(Text("Message", "IDS_INF_RESTART").substr(0, 10), texts[1].substr(0, 10));
    EXPECT_EQ(Text("Message", "IDS_ERR_EXITWIN"), texts[2]);
    EXPECT_EQ((std::vector<win::UINT>{win::EWX_REBOOT}), sim_.ui().exitWindowsCalls);
    EXPECT_FALSE(stayed_);
}

TEST_F(InstallActionTest, TwoPrintersEndTheActionWithoutAQuestion) {
    usb_.Connect(0, 9);
    usb_.Connect(1, 9);
    Install(IDC_TICKET, IDC_TICKET_MODELS, 1, "USB_ZMX-T310_1");
    EXPECT_TRUE(stayed_);
    EXPECT_EQ(9, usb_.ids[0]);
    EXPECT_EQ(9, usb_.ids[1]);
    for (const auto& box : sim_.ui().MessageBoxes()) EXPECT_NE(Text("Message", "IDS_INF_CHANGEID"), box.text);
}

TEST_F(InstallActionTest, NtFourRefusesAUsbPortBeforeTheDriverOrTheIdIsTouched) {
    sim_.windows().SetVersion(win::VER_PLATFORM_WIN32_NT, 4, 0);
    usb_.Connect(0, 9);
    Run([this](SimDialog& frame) {
        ToModelChoice(IDC_TICKET, IDC_TICKET_MODELS, 1);
        for (int i = 0; i < 3; ++i) Next();
        // NT 4 offers no USB port name: the wizard's own list never leads here, a changed list could.
        SimDialog& port = Page(kPortPageIndex);
        port.AddString(IDC_PORT, "USB_ZMX-T310_1");
        port.Select(IDC_PORT, port.FindStringExact(IDC_PORT, -1, "USB_ZMX-T310_1"));
        Next();
        EXPECT_FALSE(frame.ended());
    });
    EXPECT_EQ(std::vector<std::string>{Text("Message", "IDS_ERR_NOSUPPORTUSB")}, MessageTexts());
    EXPECT_EQ(9, usb_.ids[0]);
    EXPECT_TRUE(sim_.ui().ShellCalls().empty());
}

TEST_F(InstallActionTest, AnOlderUsbDriverIsInstalledFirstAndWaitedForByCaption) {
    // No bulkusb.sys in the system: the medium's installer runs with "2".
    sim_.windows().WriteFile("C:\\MEDIUM\\USBDrv\\bulkusb.sys", "driver");
    sim_.version().SetFileVersion("C:\\MEDIUM\\USBDrv\\bulkusb.sys", "2.0.0.1");
    Install(IDC_TICKET, IDC_TICKET_MODELS, 1, "USB_ZMX-T310_1");
    ASSERT_EQ(1u, sim_.ui().ShellCalls().size());
    EXPECT_EQ("C:\\MEDIUM\\USBDrv\\Install.exe", sim_.ui().ShellCalls()[0].file);
    EXPECT_EQ("2", sim_.ui().ShellCalls()[0].parameters);
    std::vector<win::DWORD> sleeps(sim_.windows().sleeps.begin(), sim_.windows().sleeps.begin() + 3);
    EXPECT_EQ((std::vector<win::DWORD>{500, 1000, 2000}), sleeps);
    // The installer's window takes the activation from the wizard and gives it back while setup waits: a
    // wait that does not answer leaves that pending, and under Wine the question that follows then opens
    // behind the wizard, which a person cannot answer.
    EXPECT_EQ(sleeps, sim_.windows().answeringSleeps);
}

TEST(ProgressWindowTest, ANinetyEightTargetClosesAtNinetyWhileTheWorkerRuns) {
    win::sim::SimPlatform sim;
    sim.ui().resources = &SetupResources();
    std::atomic<int32_t> completion{kCompletionRunning};
    SetupContext context(sim.platform());
    ProgressWindow window(context, kGenerationWin98Me, completion);
    std::vector<int> bar;
    sim.ui().modalScripts[IDD_PROGRESS] = [&bar](SimDialog& progress) {
        for (int tick = 0; tick < 500 && !progress.ended(); ++tick) progress.Timer(ProgressWindow::kTimer);
        bar = progress.ProgressPositions(IDC_PROGRESS);
    };
    EXPECT_EQ(win::IDOK, sim.ui().DialogBoxParamA(IDD_PROGRESS, nullptr, window));
    ASSERT_EQ(90u, bar.size());
    EXPECT_EQ(89, bar.back());
}

TEST(ProgressWindowTest, FollowsTheScheduleAndClosesOnTheOutcome) {
    win::sim::SimPlatform sim;
    sim.ui().resources = &SetupResources();
    std::atomic<int32_t> completion{kCompletionRunning};
    SetupContext context(sim.platform());
    ProgressWindow window(context, kGenerationXP, completion);
    std::vector<int> bar;
    sim.ui().modalScripts[IDD_PROGRESS] = [&](SimDialog& progress) {
        EXPECT_EQ(std::make_pair(0, 100), progress.ProgressRange(IDC_PROGRESS));
        EXPECT_EQ(700, progress.banner().weight);
        EXPECT_EQ(100u, progress.timers().at(ProgressWindow::kTimer));
        for (int tick = 0; tick < 12; ++tick) progress.Timer(ProgressWindow::kTimer);
        EXPECT_EQ(80u, progress.timers().at(ProgressWindow::kTimer));
        progress.Command(win::IDCANCEL);  // Escape does not close it
        completion = kCompletionSucceeded;
        while (!progress.ended() && progress.Timer(ProgressWindow::kTimer)) {
        }
        bar = progress.ProgressPositions(IDC_PROGRESS);
        EXPECT_TRUE(progress.timers().empty());
        // The timer is set again only when the wait changes: setting it at every tick would start each
        // period after the tick's own work, and under Wine the final 100 steps of 10 ms took 1.2 to 1.5 s.
        EXPECT_EQ((std::vector<win::UINT>{100, 80, 10, 100}),
                  progress.timerPeriodsSet(ProgressWindow::kTimer));
    };
    EXPECT_EQ(win::IDOK, sim.ui().DialogBoxParamA(IDD_PROGRESS, nullptr, window));
    ASSERT_FALSE(bar.empty());
    EXPECT_EQ(99, bar.back());
    EXPECT_EQ(11, bar[11]);
}

}  // namespace
