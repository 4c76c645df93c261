// RegistryKey over the simulated registry: results, LastError, closed keys and handle ownership.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "platform/sim/SimPlatform.h"
#include "shared/RegistryKey.h"

namespace {

using namespace win;

const char kPath[] = "SOFTWARE\\TARNOVA\\PORTNAME\\";

class RegistryKeyTest : public ::testing::Test {
protected:
    sim::SimPlatform sim_;
    sim::SimRegistry& registry() { return sim_.registry(); }
};

TEST_F(RegistryKeyTest, AFailedOpenKeepsTheReturnedErrorNotAStaleLastError) {
    RegistryKey key(sim_.platform());
    sim_.platform().kernel.SetLastError(0xdeadbeef);
    EXPECT_FALSE(key.Open(HKEY_LOCAL_MACHINE, kPath));
    EXPECT_FALSE(key.IsOpen());
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, key.LastError());

    sim_.windows().InjectFault("RegOpenKeyExA", ERROR_ACCESS_DENIED);
    registry().CreateKey(HKEY_LOCAL_MACHINE, kPath);
    EXPECT_FALSE(key.Open(HKEY_LOCAL_MACHINE, kPath));
    EXPECT_EQ(ERROR_ACCESS_DENIED, key.LastError());
    EXPECT_TRUE(key.Open(HKEY_LOCAL_MACHINE, kPath));
    EXPECT_EQ(ERROR_SUCCESS, key.LastError());
}

TEST_F(RegistryKeyTest, OperationsOnAClosedKeyFailAtOnceWithoutTouchingTheRegistry) {
    RegistryKey key(sim_.platform());
    DWORD value = 7, error = 0;
    sim_.windows().InjectFault("RegSetValueExA", ERROR_ACCESS_DENIED);
    EXPECT_FALSE(key.SetDword("x", 1, &error));
    EXPECT_EQ(ERROR_INVALID_HANDLE, error);
    EXPECT_FALSE(key.QueryDword("x", &value));
    EXPECT_EQ(7u, value);
    EXPECT_FALSE(key.SetString("x", "text"));
    EXPECT_FALSE(key.Close());
    char name[16];
    DWORD size = sizeof name, type = 0;
    EXPECT_EQ(static_cast<LONG>(ERROR_NO_MORE_ITEMS), key.EnumValue(0, name, &size, &type));
    EXPECT_EQ(0u, key.LastError());

    // The injected fault is still waiting: no call reached the registry.
    registry().CreateKey(HKEY_LOCAL_MACHINE, kPath);
    ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, kPath));
    EXPECT_FALSE(key.SetDword("x", 1, &error));
    EXPECT_EQ(ERROR_ACCESS_DENIED, error);
    EXPECT_EQ(ERROR_ACCESS_DENIED, key.LastError());
}

TEST_F(RegistryKeyTest, OpenOrCreateCreatesAMissingKeyAndOpensIt) {
    RegistryKey key(sim_.platform());
    EXPECT_TRUE(key.OpenOrCreate(HKEY_LOCAL_MACHINE, kPath));
    EXPECT_TRUE(registry().KeyExists(HKEY_LOCAL_MACHINE, "software\\tarnova\\portname"));
    EXPECT_EQ(1u, registry().OpenHandleCount()) << "the created key was closed again";
    EXPECT_TRUE(key.SetDword("USB_A_1", 3));
    DWORD value = 0;
    EXPECT_TRUE(key.QueryDword("usb_a_1", &value));
    EXPECT_EQ(3u, value);
    EXPECT_TRUE(key.Close());
    EXPECT_EQ(0u, registry().OpenHandleCount());
}

TEST_F(RegistryKeyTest, OpenOrCreateFailsWithTheLastOpensErrorWhenCreatingFails) {
    sim_.windows().InjectFault("RegCreateKeyExA", ERROR_ACCESS_DENIED);
    RegistryKey key(sim_.platform());
    EXPECT_FALSE(key.OpenOrCreate(HKEY_LOCAL_MACHINE, kPath));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, key.LastError());
    EXPECT_FALSE(registry().KeyExists(HKEY_LOCAL_MACHINE, kPath));
    EXPECT_EQ(0u, registry().OpenHandleCount());
}

TEST_F(RegistryKeyTest, OpeningAgainClosesTheKeyThatWasOpenAndTheDestructorClosesTheLast) {
    registry().CreateKey(HKEY_LOCAL_MACHINE, "a");
    registry().CreateKey(HKEY_LOCAL_MACHINE, "b");
    {
        RegistryKey key(sim_.platform());
        ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, "a"));
        ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, "b"));
        EXPECT_EQ(1u, registry().OpenHandleCount());
        EXPECT_FALSE(key.Open(HKEY_LOCAL_MACHINE, "c"));
        EXPECT_EQ(0u, registry().OpenHandleCount()) << "a failed open leaves the key closed";
        ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, "a"));
        RegistryKey moved = std::move(key);
        EXPECT_FALSE(key.IsOpen());
        EXPECT_TRUE(moved.IsOpen());
        EXPECT_EQ(1u, registry().OpenHandleCount());
    }
    EXPECT_EQ(0u, registry().OpenHandleCount());
}

TEST_F(RegistryKeyTest, ValuesAreWrittenWithTheirTypesAndSizes) {
    RegistryKey key(sim_.platform());
    ASSERT_TRUE(key.OpenOrCreate(HKEY_LOCAL_MACHINE, kPath));
    EXPECT_TRUE(key.SetString("COM1:", "9600,n,8,1,x"));
    EXPECT_TRUE(key.SetDword("D1", 0x11223344));
    const BYTE bytes[3] = {1, 0, 2};
    EXPECT_TRUE(key.SetBinary("PortSubClass", REG_BINARY, bytes, 3));

    DWORD type = 0;
    std::string data;
    ASSERT_TRUE(registry().GetValue(HKEY_LOCAL_MACHINE, kPath, "COM1:", &type, &data));
    EXPECT_EQ(REG_SZ, type);
    EXPECT_EQ(std::string("9600,n,8,1,x\0", 13), data) << "the text's length plus its zero";
    ASSERT_TRUE(registry().GetValue(HKEY_LOCAL_MACHINE, kPath, "D1", &type, &data));
    EXPECT_EQ(REG_DWORD, type);
    EXPECT_EQ(std::string("\x44\x33\x22\x11", 4), data);

    BYTE back[3] = {};
    DWORD size = 3, error = 99;
    EXPECT_TRUE(key.QueryBinary("PortSubClass", back, &size, &error));
    EXPECT_EQ(0u, error);
    EXPECT_EQ(2, back[2]);
}

TEST_F(RegistryKeyTest, QueryDwordFailsOnAMissingOrLongerValueAndReportsTheError) {
    registry().SetValue(HKEY_LOCAL_MACHINE, kPath, "Text", REG_SZ, std::string("longer\0", 7));
    RegistryKey key(sim_.platform());
    ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, kPath));
    DWORD value = 0, error = 0;
    EXPECT_FALSE(key.QueryDword("Missing", &value, &error));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, error);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, key.LastError());
    EXPECT_FALSE(key.QueryDword("Text", &value, &error));
    EXPECT_EQ(ERROR_MORE_DATA, error);
}

TEST_F(RegistryKeyTest, EnumValueGivesTheRawResultInCreationOrder) {
    registry().SetDwordValue(HKEY_LOCAL_MACHINE, kPath, "ZMX(U) 2", 0);
    registry().SetDwordValue(HKEY_LOCAL_MACHINE, kPath, "ABC(U) 1", 0);
    RegistryKey key(sim_.platform());
    ASSERT_TRUE(key.Open(HKEY_LOCAL_MACHINE, kPath));
    char name[16];
    DWORD size = sizeof name, type = 0;
    EXPECT_EQ(0, key.EnumValue(0, name, &size, &type));
    EXPECT_STREQ("ZMX(U) 2", name);
    EXPECT_EQ(REG_DWORD, type);
    size = 4;
    EXPECT_EQ(static_cast<LONG>(ERROR_MORE_DATA), key.EnumValue(1, name, &size, &type));
    size = sizeof name;
    EXPECT_EQ(static_cast<LONG>(ERROR_NO_MORE_ITEMS), key.EnumValue(2, name, &size, &type));
}

TEST_F(RegistryKeyTest, CreateKeyClosesWhatItCreated) {
    EXPECT_TRUE(RegistryKey::CreateKey(sim_.platform(), HKEY_CURRENT_USER, "Software\\A\\B"));
    EXPECT_TRUE(registry().KeyExists(HKEY_CURRENT_USER, "Software\\A\\B"));
    EXPECT_FALSE(registry().KeyExists(HKEY_LOCAL_MACHINE, "Software\\A\\B")) << "hives are apart";
    EXPECT_EQ(0u, registry().OpenHandleCount());
    sim_.windows().InjectFault("RegCreateKeyExA", ERROR_ACCESS_DENIED);
    EXPECT_FALSE(RegistryKey::CreateKey(sim_.platform(), HKEY_CURRENT_USER, "Software\\C"));
    EXPECT_FALSE(registry().KeyExists(HKEY_CURRENT_USER, "Software\\C"));
}

}  // namespace
