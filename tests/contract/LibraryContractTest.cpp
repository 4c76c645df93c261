// Run-time lookups as Windows answers them: winspool's optional entries and the errors for missing ones.
#include <gtest/gtest.h>

#include "platform/Library.h"
#include "platform/Spooler.h"
#include "tests/support/ContractEnv.h"

namespace {

using namespace win;

class LibraryContract : public ::testing::Test {
protected:
    void SetUp() override { env_ = MakeContractEnv(); }
    Library& library() { return env_->platform().library; }
    void SetLastError(DWORD error) { env_->platform().kernel.SetLastError(error); }
    DWORD LastError() { return env_->platform().kernel.GetLastError(); }
    std::unique_ptr<ContractEnv> env_;
};

TEST_F(LibraryContract, MissingLibraryAndMissingEntryHaveTheirOwnErrors) {
    SetLastError(0xdeadbeef);
    EXPECT_EQ(nullptr, library().LoadLibraryA("kxnosuchlibrary.dll"));
    EXPECT_EQ(ERROR_MOD_NOT_FOUND, LastError());

    HMODULE winspool = library().LoadLibraryA("winspool.drv");
    ASSERT_NE(nullptr, winspool);
    SetLastError(0xdeadbeef);
    EXPECT_EQ(nullptr, library().GetProcAddress(winspool, "KxNoSuchEntry"));
    EXPECT_EQ(ERROR_PROC_NOT_FOUND, LastError());
    EXPECT_TRUE(library().FreeLibrary(winspool));
}

TEST_F(LibraryContract, WinspoolEntriesFoundAtRunTimeAnswerLikeTheSpooler) {
    HMODULE winspool = library().LoadLibraryA("Winspool.drv");
    ASSERT_NE(nullptr, winspool);
    auto setDefault = EntryAs<PFN_SetDefaultPrinterA>(library().GetProcAddress(winspool, "SetDefaultPrinterA"));
    auto deleteEx = EntryAs<PFN_DeletePrinterDriverExA>(library().GetProcAddress(winspool, "DeletePrinterDriverExA"));
    ASSERT_NE(nullptr, setDefault);
    ASSERT_NE(nullptr, deleteEx);

    SetLastError(0xdeadbeef);
    EXPECT_FALSE(setDefault("Kx No Such Printer"));
    EXPECT_EQ(ERROR_INVALID_PRINTER_NAME, LastError());

    char driver[] = "Kx No Such Driver";
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(deleteEx(nullptr, nullptr, driver, 0, 0));
    // Wine deviates: it fails for an unknown driver without setting the last error.
    EXPECT_EQ(env_->IsWine() ? 0xdeadbeef : ERROR_UNKNOWN_PRINTER_DRIVER, LastError());
    SetLastError(0xdeadbeef);
    EXPECT_FALSE(deleteEx(nullptr, nullptr, driver, DPD_DELETE_UNUSED_FILES, 0));
    if (env_->IsWine()) {
        // Wine deviates: it refuses every delete flag with 87 before looking for the driver.
        EXPECT_EQ(ERROR_INVALID_PARAMETER, LastError());
    } else {
        EXPECT_EQ(ERROR_UNKNOWN_PRINTER_DRIVER, LastError());
    }
    EXPECT_TRUE(library().FreeLibrary(winspool));
}

}  // namespace
