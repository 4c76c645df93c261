// uninstall.exe on the sample medium against the simulated Windows: the program runs, a script plays the
// user while its dialog is open.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/Architecture.h"
#include "platform/sim/SimPlatform.h"
#include "resources/resource.h"
#include "tests/support/DialogScripts.h"
#include "tests/support/UninstallResources.h"
#include "uninstall/UninstallApp.h"
#include "uninstall/UninstallDialog.h"
#include "uninstall/UninstallText.h"

using win::sim::SimDialog;

class UninstallTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy(
            std::filesystem::path(SOURCE_DIR) / "medium", sim_.windows().HostPath("C:\\MEDIUM"),
            std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
        sim_.windows().moduleFileName = "C:\\MEDIUM\\uninstall.exe";
        sim_.ui().resources = &UninstallResources();
    }
    void TearDown() override { scripts_.Verify(); }

    std::string Text(const char* section, const char* key) {
        return UninstallText(sim_.platform(), section).Get(key);
    }
    // The medium's English texts in place of the Chinese ones.
    void UseEnglishTexts() {
        std::string english;
        ASSERT_TRUE(sim_.windows().ReadFile("C:\\MEDIUM\\language-en\\uninstall.ini", &english));
        sim_.windows().WriteFile("C:\\MEDIUM\\language\\uninstall.ini", english);
    }

    void AddPrinter(const std::string& name, const std::string& driver, const std::string& port,
                    win::DWORD jobs = 0) {
        if (sim_.spooler().FindDriver(driver, win::kNativeEnvironment) == nullptr) {
            win::sim::SimSpooler::Driver record;
            record.name = driver;
            record.environment = win::kNativeEnvironment;
            sim_.spooler().drivers.push_back(record);
        }
        win::sim::SimSpooler::Printer printer;
        printer.name = name;
        printer.driverName = driver;
        printer.portName = port;
        printer.jobs = jobs;
        sim_.spooler().printers.push_back(printer);
    }
    void AddMonitor(const std::string& name, const std::string& dll, std::vector<std::string> ports) {
        sim_.spooler().monitors.push_back({name, dll, std::move(ports)});
        sim_.windows().WriteFile("C:\\WINDOWS\\system32\\" + dll, "dll");
    }
    void AddProcessor(const std::string& name) {
        sim_.spooler().processors.push_back({name, win::kNativeEnvironment, "VLPRTPRC.DLL", {}});
    }
    // Ours and others: two of this maker's printers around another's, two monitors and a processor.
    void AddComponents() {
        AddPrinter("ZMX-T310(S)", "VORL ZMX-T310", "KXCOM1:");
        AddPrinter("Office", "HP LaserJet", "LPT1:");
        AddPrinter("ZMX-R80(P)", "VORL ZMX-R80", "LPT2:");
        AddMonitor("VORL USB Monitor", "VLUSBMON.DLL", {"USB_ZMX-R80_1"});
        AddMonitor("VORL COM Monitor", "VLCOMMON.DLL", {"KXCOM1:"});
        AddProcessor("VORLPrint");
    }
    void NotAnAdministrator() {
        sim_.ui().processGroups = {{win::sim::SimWindowsUi::UsersSid(), win::SE_GROUP_ENABLED}};
    }

    // Runs uninstall; `user` acts while its dialog is open. Given a `user`, the dialog must open in this
    // run; without one it may stay closed.
    int Run(std::function<void(SimDialog&)> user = nullptr) {
        int openings = scripts_.Openings(IDD_UNINSTALL);
        scripts_.Script(
            IDD_UNINSTALL,
            [this, user](SimDialog& dialog) {
                dialog_ = &dialog;
                if (user) user(dialog);
            },
            DialogScripts::kMayStayClosed);
        int result = RunUninstall(sim_.platform(), [this](UninstallDialog& page) { page_ = &page; });
        if (user) {
            EXPECT_LT(openings, scripts_.Openings(IDD_UNINSTALL)) << "the dialog never opened";
        }
        return result;
    }
    // The Uninstall button, and the run it starts, to its end.
    void Uninstall() {
        ASSERT_TRUE(dialog_->Click(IDC_UNINST_START));
        page_->WaitForRemoval();
        EXPECT_FALSE(page_->RemovalRunning());
    }

    std::vector<std::string> Names() {
        std::vector<std::string> names;
        for (const auto& item : dialog_->ListViewItems(IDC_UNINST_LIST)) names.push_back(item.text);
        return names;
    }
    std::vector<bool> Ticks() {
        std::vector<bool> ticks;
        for (const auto& item : dialog_->ListViewItems(IDC_UNINST_LIST)) ticks.push_back(item.checked);
        return ticks;
    }
    std::vector<std::string> Log() { return dialog_->Entries(IDC_UNINST_LOG); }
    std::vector<std::string> MessageTexts() {
        std::vector<std::string> texts;
        for (const auto& box : sim_.ui().MessageBoxes()) texts.push_back(box.text);
        return texts;
    }
    std::vector<win::UINT> ModalTemplates() {
        std::vector<win::UINT> ids;
        for (const auto& modal : sim_.ui().ModalDialogs()) ids.push_back(modal.templateId);
        return ids;
    }
    bool Enabled(int id) { return dialog_->IsDlgItemEnabled(id) != win::FALSE; }

    win::sim::SimPlatform sim_;
    DialogScripts scripts_{sim_.ui()};
    SimDialog* dialog_ = nullptr;
    UninstallDialog* page_ = nullptr;
};
