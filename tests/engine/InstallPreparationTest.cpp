// The checks and names that come before an installation, against the simulated Windows.
#include <gtest/gtest.h>

#include <string>

#include "platform/sim/SimPlatform.h"
#include "setup/engine/InstallPreparation.h"

namespace {

const char kModelFile[] = "C:\\MEDIUM\\DRVCONFIG\\setup_receipt.ini";

class InstallPreparationTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim_.windows().WriteFile(kModelFile,
                                 "[ZMX-M530.PORT]\r\nSystem2003Supported=1\r\nSystemNTSupported=0\r\n"
                                 "[ZMX-R510.PORT]\r\nSystem2003Supported=0\r\n");
        record_.modelFilePath = kModelFile;
    }

    win::sim::SimPlatform sim_;
    InstallRecord record_{sim_.platform()};
};

TEST_F(InstallPreparationTest, AModelMustBeChosenAndSupportTheTargetGeneration) {
    record_.modelName = "";
    EXPECT_STREQ("IDS_ERR_SELPRINTER", CheckModelSupportsTarget(sim_.platform(), record_));

    record_.generation = kGenerationServer2003;
    record_.modelName = "ZMX-R510";
    EXPECT_STREQ("IDS_NOTSUPPORT2003", CheckModelSupportsTarget(sim_.platform(), record_));
    record_.modelName = "ZMX-UNLISTED";  // no port section: the flag defaults to 0
    EXPECT_STREQ("IDS_NOTSUPPORT2003", CheckModelSupportsTarget(sim_.platform(), record_));
    record_.modelName = "ZMX-M530";
    EXPECT_EQ(nullptr, CheckModelSupportsTarget(sim_.platform(), record_));

    // Server 2003's flag says nothing about NT 4, nor NT 4's about XP.
    record_.generation = kGenerationNT4;
    EXPECT_STREQ("IDS_NOTSUPPORTNT", CheckModelSupportsTarget(sim_.platform(), record_));
    record_.generation = kGenerationXP;
    record_.modelName = "ZMX-R510";
    EXPECT_EQ(nullptr, CheckModelSupportsTarget(sim_.platform(), record_));
}

TEST_F(InstallPreparationTest, UsbIsRefusedOnNt4Only) {
    record_.portKind = kPortKindUsb;
    record_.generation = kGenerationNT4;
    EXPECT_STREQ("IDS_ERR_NOSUPPORTUSB", CheckPortSupportsTarget(record_));
    for (PlatformGeneration generation :
         {kGenerationWin98Me, kGenerationWin2000, kGenerationXP, kGenerationVista}) {
        record_.generation = generation;
        EXPECT_EQ(nullptr, CheckPortSupportsTarget(record_)) << generation;
    }
    record_.generation = kGenerationNT4;
    record_.portKind = kPortKindParallel;
    EXPECT_EQ(nullptr, CheckPortSupportsTarget(record_));
}

TEST_F(InstallPreparationTest, TheZmxL5FamilyIsCreatedOnItsSharedPortName) {
    record_.portKind = kPortKindUsb;
    record_.portName = "USB_ZMX-L58_3";
    record_.printerName = "ZMX-L58";
    record_.printer.pPortName = &record_.portName[0];
    CompletePrinterAndPortNames(sim_.platform(), record_);
    EXPECT_EQ("USB_ZMX-L5_3", record_.recordPortName);
    EXPECT_STREQ("USB_ZMX-L5_3", record_.printer.pPortName);
    EXPECT_EQ("ZMX-L58(U) 3", record_.printerName);
    EXPECT_STREQ("ZMX-L58(U) 3", record_.printer.pPrinterName);
    EXPECT_EQ("USB_ZMX-L58_3", record_.portName) << "the chosen port stays as it was";

    // Other models keep the chosen port.
    record_.portName = "USB_ZMX-M530_2";
    record_.printerName = "ZMX-M530";
    record_.recordPortName.clear();
    CompletePrinterAndPortNames(sim_.platform(), record_);
    EXPECT_STREQ("USB_ZMX-M530_2", record_.printer.pPortName);
    EXPECT_EQ("", record_.recordPortName);
}

}  // namespace
