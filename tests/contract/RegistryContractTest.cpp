// The registry calls as Windows answers them: the same cases against the simulation and the real API.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/Registry.h"
#include "tests/support/ContractEnv.h"

namespace {

using namespace win;

const char kBase[] = "Software\\PosPrnRegistryContract";

class RegistryContract : public ::testing::Test {
protected:
    void SetUp() override {
        env_ = MakeContractEnv();
        RemoveScratch();
    }
    void TearDown() override { RemoveScratch(); }

    Registry& reg() { return env_->platform().registry; }
    Kernel& kernel() { return env_->platform().kernel; }

    // A key below the scratch key, made for the test; removed again in TearDown.
    HKEY Create(const std::string& path, DWORD* disposition = nullptr) {
        HKEY key = nullptr;
        EXPECT_EQ(0, reg().RegCreateKeyExA(HKEY_CURRENT_USER, (std::string(kBase) + "\\" + path).c_str(), 0,
                                           nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key,
                                           disposition));
        return key;
    }
    LONG Open(const std::string& path, HKEY* key) {
        return reg().RegOpenKeyExA(HKEY_CURRENT_USER, (std::string(kBase) + "\\" + path).c_str(), 0,
                                   KEY_ALL_ACCESS, key);
    }
    void SetDword(HKEY key, const char* name, DWORD value) {
        ASSERT_EQ(0, reg().RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<BYTE*>(&value), 4));
    }
    std::vector<std::string> EnumNames(HKEY key) {
        std::vector<std::string> names;
        for (DWORD i = 0;; ++i) {
            char name[64];
            DWORD size = sizeof name;
            if (reg().RegEnumValueA(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) != 0) break;
            names.push_back(name);
        }
        return names;
    }

    // Leaves first: the scratch tree is only ever two levels deep.
    void RemoveScratch() {
        for (const char* sub : {"\\a\\b", "\\a", "\\leaf", "\\values", "\\gone", ""})
            reg().RegDeleteKeyA(HKEY_CURRENT_USER, (std::string(kBase) + sub).c_str());
    }

    std::unique_ptr<ContractEnv> env_;
};

TEST_F(RegistryContract, OpeningAMissingKeyFailsWith2ClearsTheHandleAndLeavesTheLastError) {
    HKEY key = reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x1234));
    kernel().SetLastError(0xdeadbeef);
    EXPECT_EQ(static_cast<LONG>(ERROR_FILE_NOT_FOUND), Open("missing", &key));
    EXPECT_EQ(nullptr, key);
    // The Reg calls return their error; the thread's last error is not theirs to set.
    EXPECT_EQ(0xdeadbeefu, kernel().GetLastError());
}

TEST_F(RegistryContract, CreateMakesTheKeysAboveAndTellsNewFromExisting) {
    DWORD disposition = 0;
    HKEY key = Create("a\\b", &disposition);
    EXPECT_EQ(REG_CREATED_NEW_KEY, disposition);
    EXPECT_EQ(0, reg().RegCloseKey(key));
    key = Create("a\\b", &disposition);
    EXPECT_EQ(REG_OPENED_EXISTING_KEY, disposition);
    EXPECT_EQ(0, reg().RegCloseKey(key));

    // Key names match without regard to case; a trailing backslash is accepted.
    HKEY opened = nullptr;
    EXPECT_EQ(0, Open("A\\B\\", &opened));
    EXPECT_EQ(0, reg().RegCloseKey(opened));
}

TEST_F(RegistryContract, QueryGivesTypeDataAndSizeAndReportsASmallBufferWith234) {
    HKEY key = Create("values");
    SetDword(key, "Count", 0x01020304);
    DWORD type = 99, value = 0, size = 4;
    EXPECT_EQ(0,
              reg().RegQueryValueExA(key, "COUNT", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size));
    EXPECT_EQ(REG_DWORD, type);
    EXPECT_EQ(0x01020304u, value);
    EXPECT_EQ(4u, size);

    size = 2;
    EXPECT_EQ(static_cast<LONG>(ERROR_MORE_DATA),
              reg().RegQueryValueExA(key, "Count", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size));
    EXPECT_EQ(4u, size);
    size = 0;
    EXPECT_EQ(0, reg().RegQueryValueExA(key, "Count", nullptr, nullptr, nullptr, &size));
    EXPECT_EQ(4u, size);
    EXPECT_EQ(static_cast<LONG>(ERROR_FILE_NOT_FOUND),
              reg().RegQueryValueExA(key, "Other", nullptr, nullptr, nullptr, &size));

    // Raw bytes of any type come back as written.
    BYTE block[28];
    for (int i = 0; i < 28; ++i) block[i] = static_cast<BYTE>(i * 7);
    ASSERT_EQ(0, reg().RegSetValueExA(key, "DCB", 0, REG_NONE, block, sizeof block));
    BYTE back[32] = {};
    size = sizeof back;
    EXPECT_EQ(0, reg().RegQueryValueExA(key, "DCB", nullptr, &type, back, &size));
    EXPECT_EQ(REG_NONE, type);
    EXPECT_EQ(28u, size);
    EXPECT_EQ(0, std::memcmp(block, back, 28));
    reg().RegCloseKey(key);
}

TEST_F(RegistryContract, ValuesEnumerateInCreationOrderAndARewriteKeepsItsPlace) {
    HKEY key = Create("values");
    SetDword(key, "second", 1);
    SetDword(key, "first", 2);
    SetDword(key, "third", 3);
    SetDword(key, "FIRST", 4);
    if (env_->IsWine())  // Wine deviates: its server keeps the values of a key sorted by name.
        EXPECT_EQ((std::vector<std::string>{"first", "second", "third"}), EnumNames(key));
    else
        EXPECT_EQ((std::vector<std::string>{"second", "first", "third"}), EnumNames(key));
    char name[8];
    DWORD size = sizeof name, type = 0;
    EXPECT_EQ(static_cast<LONG>(ERROR_NO_MORE_ITEMS),
              reg().RegEnumValueA(key, 3, name, &size, nullptr, &type, nullptr, nullptr));

    ASSERT_EQ(0, reg().RegDeleteValueA(key, "first"));
    EXPECT_EQ((std::vector<std::string>{"second", "third"}), EnumNames(key));
    EXPECT_EQ(static_cast<LONG>(ERROR_FILE_NOT_FOUND), reg().RegDeleteValueA(key, "first"));
    reg().RegCloseKey(key);
}

TEST_F(RegistryContract, ANameBufferWithoutRoomForTheZeroGives234AndKeepsItsSize) {
    HKEY key = Create("values");
    SetDword(key, "Printer", 1);
    char name[16];
    std::strcpy(name, "xxxxxxxxxx");
    DWORD size = 7, type = 0;
    EXPECT_EQ(static_cast<LONG>(ERROR_MORE_DATA),
              reg().RegEnumValueA(key, 0, name, &size, nullptr, &type, nullptr, nullptr));
    EXPECT_EQ(7u, size);
    // Windows XP leaves the buffer alone, later versions and Wine leave the cut name in it: neither
    // may be relied on. The simulation follows XP.
    if (env_->IsWine())
        EXPECT_STREQ("Printe", name);
    else
        EXPECT_STREQ("xxxxxxxxxx", name);

    size = 8;
    EXPECT_EQ(0, reg().RegEnumValueA(key, 0, name, &size, nullptr, &type, nullptr, nullptr));
    EXPECT_EQ(7u, size);
    EXPECT_STREQ("Printer", name);
    EXPECT_EQ(REG_DWORD, type);
    reg().RegCloseKey(key);
}

TEST_F(RegistryContract, DeletingAKeyWithSubkeysIsDeniedAndALeafGoes) {
    reg().RegCloseKey(Create("a\\b"));
    std::string a = std::string(kBase) + "\\a";
    EXPECT_EQ(static_cast<LONG>(ERROR_ACCESS_DENIED), reg().RegDeleteKeyA(HKEY_CURRENT_USER, a.c_str()));
    EXPECT_EQ(0, reg().RegDeleteKeyA(HKEY_CURRENT_USER, (a + "\\b").c_str()));
    EXPECT_EQ(static_cast<LONG>(ERROR_FILE_NOT_FOUND),
              reg().RegDeleteKeyA(HKEY_CURRENT_USER, (a + "\\b").c_str()));
    EXPECT_EQ(0, reg().RegDeleteKeyA(HKEY_CURRENT_USER, a.c_str()));
    HKEY key = nullptr;
    EXPECT_EQ(static_cast<LONG>(ERROR_FILE_NOT_FOUND), Open("a", &key));
}

TEST_F(RegistryContract, AHandleToADeletedKeyReachesNothing) {
    HKEY key = Create("gone");
    ASSERT_EQ(0, reg().RegDeleteKeyA(HKEY_CURRENT_USER, (std::string(kBase) + "\\gone").c_str()));
    DWORD value = 1;
    EXPECT_EQ(static_cast<LONG>(ERROR_KEY_DELETED),
              reg().RegSetValueExA(key, "v", 0, REG_DWORD, reinterpret_cast<BYTE*>(&value), 4));
    EXPECT_EQ(0, reg().RegCloseKey(key));
}

TEST_F(RegistryContract, AClosedHandleIsInvalid) {
    HKEY key = Create("leaf");
    ASSERT_EQ(0, reg().RegCloseKey(key));
    DWORD size = 0;
    EXPECT_EQ(static_cast<LONG>(ERROR_INVALID_HANDLE),
              reg().RegQueryValueExA(key, "v", nullptr, nullptr, nullptr, &size));
    EXPECT_EQ(static_cast<LONG>(ERROR_INVALID_HANDLE), reg().RegCloseKey(key));
}

}  // namespace
