// The uninstaller's dialog start when the catalogue cannot be looked for, and when winspool lacks the
// extended driver deletion.
#include <algorithm>

#include "tests/uninstall/UninstallFixture.h"

namespace {

class UninstallStartupFailuresTest : public UninstallTest {
protected:
    // How many calls of the operation a start of the dialog makes before it scans for the catalogue.
    int CallsBeforeTheScan(const std::string& operation) {
        sim_.windows().operationLog.clear();
        sim_.windows().logOperations = true;
        Run([](SimDialog& dialog) { dialog.Click(win::IDCANCEL); });
        sim_.windows().logOperations = false;
        const std::vector<std::string>& log = sim_.windows().operationLog;
        auto scan = std::find(log.begin(), log.end(), "FindFirstFileA");
        EXPECT_NE(log.end(), scan) << "the start scans for Uninstall.ini";
        dialog_ = nullptr;
        return static_cast<int>(std::count(log.begin(), scan, operation));
    }
    // The start ended at the box of the key, over no list.
    void ExpectClosedWithBox(const char* key) {
        EXPECT_EQ(nullptr, dialog_) << "the dialog's user never got to it";
        ASSERT_EQ(std::vector<std::string>{Text("Message", key)}, MessageTexts()) << key;
        EXPECT_FALSE(MessageTexts()[0].empty());
        EXPECT_EQ("uninstall", sim_.ui().MessageBoxes()[0].caption);
        EXPECT_EQ(static_cast<win::UINT>(win::MB_OK), sim_.ui().MessageBoxes()[0].type);
        EXPECT_NE(nullptr, sim_.ui().MessageBoxes()[0].owner) << "owned by the dialog";
        ASSERT_FALSE(sim_.ui().ModalDialogs().empty());
        EXPECT_EQ(win::IDCANCEL, sim_.ui().ModalDialogs().back().result);
    }
};

TEST_F(UninstallStartupFailuresTest, NoCurrentDirectoryClosesWithItsBox) {
    AddComponents();
    int calls = CallsBeforeTheScan("GetCurrentDirectoryA");
    ASSERT_LT(0, calls);
    ASSERT_TRUE(sim_.ui().MessageBoxes().empty());
    // The last call before the scan is the catalogue's own.
    sim_.windows().InjectFault("GetCurrentDirectoryA", 5, calls);
    Run();
    ExpectClosedWithBox("IDS_ERR_GETSYSDIR");
}

TEST_F(UninstallStartupFailuresTest, AScanThatCannotStartClosesWithItsBox) {
    AddComponents();
    sim_.windows().InjectFault("FindFirstFileA", 5);
    Run();
    ExpectClosedWithBox("IDS_ERR_INVALID");
}

TEST_F(UninstallStartupFailuresTest, AWinspoolWithoutTheExtendedDeletionDeletesDriversThePlainWay) {
    AddComponents();
    sim_.library().RemoveEntry("winspool.drv", "DeletePrinterDriverExA");
    Run([this](SimDialog& dialog) {
        EXPECT_TRUE(sim_.ui().MessageBoxes().empty()) << "the library is there: nothing to say";
        dialog.Tick(IDC_UNINST_LIST, 0);  // ZMX-T310(S)
        sim_.windows().logOperations = true;
        Uninstall();
        sim_.windows().logOperations = false;
        EXPECT_EQ(Text("Message", "IDS_DRV_SUCCESS"), Log().at(4));
        dialog.Click(win::IDCANCEL);
    });
    const std::vector<std::string>& log = sim_.windows().operationLog;
    EXPECT_EQ(1, std::count(log.begin(), log.end(), "DeletePrinterDriverA"));
    EXPECT_EQ(0, std::count(log.begin(), log.end(), "DeletePrinterDriverExA"));
    EXPECT_EQ(nullptr, sim_.spooler().FindDriver("VORL ZMX-T310", win::kNativeEnvironment));
    EXPECT_EQ(0, sim_.library().LoadedCount());
}

}  // namespace
