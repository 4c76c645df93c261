// The USB port records written into the real HKEY_LOCAL_MACHINE and read back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "setup/engine/UsbPortRecords.h"
#include "shared/RegistryKey.h"

namespace {
// Named before the Windows headers, whose macro of the same name would take its place.
const win::HKEY kMachine = win::HKEY_LOCAL_MACHINE;
}  // namespace

#include <windows.h>

namespace {

const char kTarnova[] = "SOFTWARE\\TARNOVA";
// Leaves before the key above them, in the order they are removed.
const char* const kKeys[4] = {kPortNameKey, kPrinterPortKey, kInstallPrinterKey, kTarnova};

class UsbPortRecordsRegistry : public ::testing::Test {
protected:
    void SetUp() override {
        // Keys that are there already may stay, but only empty ones: their values are left as found.
        for (int i = 0; i < 4; ++i) {
            RegistryKey probe(platform());
            existed_[i] = probe.Open(kMachine, kKeys[i]);
            char name[64];
            win::DWORD size = sizeof name, type = 0;
            if (i < 3 &&
                probe.EnumValue(0, name, &size, &type) != static_cast<win::LONG>(ERROR_NO_MORE_ITEMS))
                GTEST_SKIP() << "the machine has records of its own";
        }
        char module[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, module, MAX_PATH);
        std::string folder = module;
        folder = folder.substr(0, folder.rfind('\\') + 1) + "DRVCONFIG";
        catalog_ = folder + "\\setup.ini";
        if (GetFileAttributesA(catalog_.c_str()) != INVALID_FILE_ATTRIBUTES)
            GTEST_SKIP() << "a catalog is there";
        madeFolder_ = CreateDirectoryA(folder.c_str(), nullptr) != 0;
        folder_ = folder;
        FILE* f = std::fopen(catalog_.c_str(), "wb");
        ASSERT_NE(nullptr, f);
        std::fputs("[SUPPORTED-USB-DEVICE]\r\nPRNCOUNT=2\r\n0=USB_ZMX-L5_1\r\n1=USB_ZMX-L5_2\r\n", f);
        std::fclose(f);
        wrote_ = true;
    }
    void TearDown() override {
        if (!wrote_) return;
        DeleteFileA(catalog_.c_str());
        if (madeFolder_) RemoveDirectoryA(folder_.c_str());
        win::Registry& registry = platform().registry;
        for (int i = 0; i < 4; ++i) {
            if (!existed_[i]) {
                registry.RegDeleteKeyA(kMachine, kKeys[i]);
                continue;
            }
            win::HKEY key = nullptr;
            if (registry.RegOpenKeyExA(kMachine, kKeys[i], 0, KEY_ALL_ACCESS, &key) != 0) continue;
            for (;;) {
                char name[64];
                win::DWORD size = sizeof name;
                if (registry.RegEnumValueA(key, 0, name, &size, nullptr, nullptr, nullptr, nullptr) != 0)
                    break;
                if (registry.RegDeleteValueA(key, name) != 0) break;
            }
            registry.RegCloseKey(key);
        }
    }
    win::Platform& platform() { return win::Win32Platform(); }
    win::DWORD Dword(const char* key, const char* name) {
        RegistryKey k(platform());
        win::DWORD value = 0xdeadbeef;
        EXPECT_TRUE(k.Open(kMachine, key));
        EXPECT_TRUE(k.QueryDword(name, &value)) << name;
        return value;
    }
    // Sorted: Wine enumerates values by name, Windows in creation order; the order is the registry
    // contract's business, not this test's.
    std::vector<std::string> Names(const char* key) {
        RegistryKey k(platform());
        std::vector<std::string> names;
        if (!k.Open(kMachine, key)) return names;
        for (win::DWORD i = 0;; ++i) {
            char name[64] = {};
            win::DWORD size = sizeof name, type = 0;
            if (k.EnumValue(i, name, &size, &type) != 0) break;
            names.push_back(name);
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string catalog_, folder_;
    bool madeFolder_ = false, wrote_ = false;
    bool existed_[4] = {};
};

TEST_F(UsbPortRecordsRegistry, TheRecordsLandInHklmInTheirOrder) {
    RegistryKey printers(platform());
    ASSERT_TRUE(printers.OpenOrCreate(kMachine, kInstallPrinterKey));
    ASSERT_TRUE(printers.SetString("ZMX-L5(U) 1", ""));
    printers.Close();

    UpdateUsbPortRecords(platform(), "USB_ZMX-L5_2");

    EXPECT_EQ((std::vector<std::string>{"USB_ZMX-L5_1", "USB_ZMX-L5_2"}), Names(kPortNameKey));
    EXPECT_EQ(1u, Dword(kPortNameKey, "USB_ZMX-L5_2"));
    EXPECT_EQ(0u, Dword(kPortNameKey, "USB_ZMX-L5_1"));
    EXPECT_EQ((std::vector<std::string>{"D1", "D2", "D3", "D4", "D5", "D6", "D7", "D8", "USB_ZMX-L5_1",
                                        "USB_ZMX-L5_2"}),
              Names(kPrinterPortKey));
    EXPECT_EQ(0u, Dword(kPrinterPortKey, "D5"));
    EXPECT_EQ(255u, Dword(kPrinterPortKey, "USB_ZMX-L5_2"));

    // A port marked in use by an install stays so on the next run.
    RegistryKey ports(platform());
    ASSERT_TRUE(ports.Open(kMachine, kPrinterPortKey));
    ASSERT_TRUE(ports.SetDword("USB_ZMX-L5_2", 0));
    ports.Close();
    UpdateUsbPortRecords(platform(), "USB_ZMX-L5_1");
    EXPECT_EQ(0u, Dword(kPrinterPortKey, "USB_ZMX-L5_2"));
    EXPECT_EQ(255u, Dword(kPrinterPortKey, "USB_ZMX-L5_1"));
}

}  // namespace
