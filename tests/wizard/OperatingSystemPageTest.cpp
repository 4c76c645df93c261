// The operating-system page against the simulated template 130, for every version Windows may report.
#include <gtest/gtest.h>

#include "resources/resource.h"
#include "setup/wizard/OperatingSystemPage.h"
#include "shared/CompatibilityRecord.h"
#include "tests/wizard/PageTestSupport.h"

TEST(OperatingSystemPage, HoldsTheRunningGenerationAndEnablesOnlyItsRadio) {
    const struct {
        win::DWORD platformId, major, minor;
        PlatformGeneration generation;
        int checked;  // 0: none
    } cases[] = {
        {1, 4, 0, kGenerationWin98Me, 0},  // Windows 95
        {1, 4, 90, kGenerationWin98Me, IDC_OS_WIN98},
        {2, 4, 0, kGenerationNT4, IDC_OS_NT},
        {2, 4, 1, kGenerationWin98Me, 0},
        {2, 5, 0, kGenerationWin2000, IDC_OS_2000},
        {2, 5, 1, kGenerationXP, IDC_OS_XP},
        {2, 5, 2, kGenerationServer2003, IDC_OS_2003},
        {2, 6, 0, kGenerationVista, IDC_OS_VISTA},
        {2, 6, 1, kGenerationVista, IDC_OS_VISTA},  // Windows 7, as the installation treats it
        {2, 10, 0, kGenerationVista, IDC_OS_VISTA},
        {2, 5, 3, kGenerationWin98Me, 0},
        {3, 10, 0, kGenerationWin98Me, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.platformId) + ": " + std::to_string(c.major) + "." +
                     std::to_string(c.minor));
        win::sim::SimPlatform sim;
        sim.windows().WriteFile(
            "C:\\MEDIUM\\language\\setup.ini",
            "[System]\r\nSelect=Your system\r\n[Message]\r\nIDS_ERR_SYSTEM=not this one\r\n");
        sim.windows().SetVersion(c.platformId, c.major, c.minor);
        SetupContext context(sim.platform());
        RecordingHost host;
        OperatingSystemPage page(context, host);
        win::sim::SimDialog& d = OpenPage(sim, IDD_SYSTEM_PAGE, page);

        EXPECT_EQ(c.generation, page.Generation());
        EXPECT_EQ(c.checked, d.CheckedRadioOfGroup(IDC_OS_WIN98));
        const int enabled = GetGenerationProperties(c.generation, win::kArchitectureX86)->radioId;
        for (int radio : {IDC_OS_WIN98, IDC_OS_NT, IDC_OS_2000, IDC_OS_XP, IDC_OS_2003, IDC_OS_VISTA})
            EXPECT_EQ(radio == enabled, d.IsDlgItemEnabled(radio) != 0) << radio;
        // Only a platform that is neither 9x nor NT is refused; only Vista itself (6.0) is recorded.
        EXPECT_EQ(c.platformId == 3 ? std::vector<std::string>{"not this one"} : std::vector<std::string>{},
                  host.messages);
        win::DWORD recorded = 0;
        EXPECT_EQ(c.platformId == 2 && c.major == 6 && c.minor == 0,
                  sim.registry().GetDwordValue(win::HKEY_CURRENT_USER, kCompatibilityAssistantKey,
                                               sim.windows().moduleFileName, &recorded));
        EXPECT_EQ("Your system", d.GetDlgItemTextA(IDC_SELECT_GROUP));
    }
}
