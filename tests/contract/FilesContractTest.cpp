// Files, searches and the system's directories as Windows answers them: the simulation and the real calls.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "platform/Architecture.h"
#include "platform/Registry.h"
#include "platform/SpoolerTypes.h"
#include "tests/support/ContractEnv.h"

namespace {

constexpr win::DWORD kPreset = 0xdeadbeef;

class FilesContract : public ::testing::Test {
protected:
    void SetUp() override {
        env_ = MakeContractEnv();
        dir_ = env_->ScratchDirectory();
    }
    void TearDown() override {
        // Read-only files would outlive the scratch folder's removal.
        for (const std::string& path : readOnly_) files().SetFileAttributesA(path.c_str(), win::FILE_ATTRIBUTE_NORMAL);
    }
    win::Files& files() { return env_->platform().files; }
    win::DWORD LastError() { return env_->platform().kernel.GetLastError(); }
    void Preset() { env_->platform().kernel.SetLastError(kPreset); }
    // Windows refuses to copy onto a read-only or hidden file with 5 (MSDN CopyFile, Remarks). Wine
    // deviates: it replaces either.
    void ExpectCopyOntoProtectedTargetRefused(const std::string& source, const std::string& target) {
        Preset();
        if (env_->IsWine()) {
            EXPECT_TRUE(files().CopyFileA(source.c_str(), target.c_str(), win::FALSE));
        } else {
            EXPECT_FALSE(files().CopyFileA(source.c_str(), target.c_str(), win::FALSE));
            EXPECT_EQ(win::ERROR_ACCESS_DENIED, LastError());
        }
    }
    std::string Write(const std::string& name, const std::string& bytes) {
        std::string path = dir_ + "\\" + name;
        env_->WriteFile(path, bytes);
        return path;
    }
    std::vector<std::string> Find(const std::string& pattern) {
        std::vector<std::string> names;
        win::WIN32_FIND_DATAA data{};
        win::HANDLE find = files().FindFirstFileA(pattern.c_str(), &data);
        if (find == win::INVALID_HANDLE_VALUE) return names;
        do names.push_back(data.cFileName);
        while (files().FindNextFileA(find, &data));
        EXPECT_EQ(win::ERROR_NO_MORE_FILES, LastError());
        EXPECT_TRUE(files().FindClose(find));
        return names;
    }

    std::unique_ptr<ContractEnv> env_;
    std::string dir_;
    std::vector<std::string> readOnly_;
};

TEST_F(FilesContract, CopyFileAReportsMissingSourceFolderAndExistingTarget) {
    std::string source = Write("a.dll", "a");
    std::string target = Write("b.dll", "b");

    Preset();
    EXPECT_FALSE(files().CopyFileA((dir_ + "\\missing.dll").c_str(), (dir_ + "\\c.dll").c_str(), win::FALSE));
    EXPECT_EQ(win::ERROR_FILE_NOT_FOUND, LastError());
    Preset();
    EXPECT_FALSE(files().CopyFileA((dir_ + "\\nodir\\a.dll").c_str(), (dir_ + "\\c.dll").c_str(), win::FALSE));
    EXPECT_EQ(win::ERROR_PATH_NOT_FOUND, LastError());
    Preset();
    EXPECT_FALSE(files().CopyFileA(source.c_str(), (dir_ + "\\nodir\\a.dll").c_str(), win::FALSE));
    EXPECT_EQ(win::ERROR_PATH_NOT_FOUND, LastError());
    Preset();
    EXPECT_FALSE(files().CopyFileA(source.c_str(), target.c_str(), win::TRUE));
    EXPECT_EQ(win::ERROR_FILE_EXISTS, LastError());

    EXPECT_TRUE(files().CopyFileA(source.c_str(), target.c_str(), win::FALSE));
    EXPECT_TRUE(files().CopyFileA(source.c_str(), (dir_ + "\\NEW.DLL").c_str(), win::TRUE));
    EXPECT_EQ((std::vector<std::string>{"NEW.DLL"}), Find(dir_ + "\\new.dll"));
}

TEST_F(FilesContract, CopyFileAOntoAFileHeldOpenWithoutSharingGives32) {
    std::string source = Write("a.dll", "a");
    std::string target = Write("b.dll", "b");
    Preset();
    win::HANDLE held = files().CreateFileA(target.c_str(), win::GENERIC_READ, 0, nullptr, win::OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(win::INVALID_HANDLE_VALUE, held);

    Preset();
    EXPECT_FALSE(files().CopyFileA(source.c_str(), target.c_str(), win::FALSE));
    EXPECT_EQ(win::ERROR_SHARING_VIOLATION, LastError());
    // Opening with no access at all still works: it is how setup tests that a file exists.
    win::HANDLE probe = files().CreateFileA(target.c_str(), 0, win::FILE_SHARE_READ | win::FILE_SHARE_WRITE,
                                            nullptr, win::OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(win::INVALID_HANDLE_VALUE, probe);
    EXPECT_TRUE(files().CloseHandle(probe));

    EXPECT_TRUE(files().CloseHandle(held));
    EXPECT_TRUE(files().CopyFileA(source.c_str(), target.c_str(), win::FALSE));
}

TEST_F(FilesContract, CopyFileAOntoAReadOnlyTargetGives5UntilItsAttributesAreReset) {
    std::string source = Write("a.dll", "a");
    std::string target = Write("b.dll", "b");
    ASSERT_TRUE(files().SetFileAttributesA(target.c_str(), win::FILE_ATTRIBUTE_READONLY));
    readOnly_.push_back(target);
    EXPECT_EQ(win::FILE_ATTRIBUTE_READONLY, files().GetFileAttributesA(target.c_str()) & win::FILE_ATTRIBUTE_READONLY);

    ExpectCopyOntoProtectedTargetRefused(source, target);
    Preset();
    EXPECT_FALSE(files().DeleteFileA(target.c_str()));
    EXPECT_EQ(win::ERROR_ACCESS_DENIED, LastError());

    EXPECT_TRUE(files().SetFileAttributesA(target.c_str(), win::FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_EQ(0u, files().GetFileAttributesA(target.c_str()) & win::FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(files().CopyFileA(source.c_str(), target.c_str(), win::FALSE));
    EXPECT_TRUE(files().DeleteFileA(target.c_str()));
}

TEST_F(FilesContract, CopyFileAOntoAHiddenTargetGives5) {
    std::string source = Write("a.dll", "a");
    std::string target = Write("b.dll", "b");
    ASSERT_TRUE(files().SetFileAttributesA(target.c_str(), win::FILE_ATTRIBUTE_HIDDEN));
    ExpectCopyOntoProtectedTargetRefused(source, target);
    EXPECT_TRUE(files().SetFileAttributesA(target.c_str(), win::FILE_ATTRIBUTE_NORMAL));
    EXPECT_TRUE(files().CopyFileA(source.c_str(), target.c_str(), win::FALSE));
}

// A file deleted at the next restart is a pair in the Session Manager's list: its NT path ("\??\" and the
// full path), then an empty target. Nothing is deleted now.
TEST_F(FilesContract, MoveFileExAUntilRebootRecordsTheDeletionInPendingFileRenameOperations) {
    const char kSessionManager[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";
    const char kPending[] = "PendingFileRenameOperations";
    win::Registry& registry = env_->platform().registry;
    win::HKEY key = nullptr;
    ASSERT_EQ(win::ERROR_SUCCESS,
              registry.RegCreateKeyExA(win::HKEY_LOCAL_MACHINE, kSessionManager, 0, nullptr, 0,
                                       win::KEY_ALL_ACCESS, nullptr, &key, nullptr));
    auto read = [&](win::DWORD* type) {
        win::DWORD size = 0;
        if (registry.RegQueryValueExA(key, kPending, nullptr, type, nullptr, &size) != win::ERROR_SUCCESS)
            return std::string();
        std::string bytes(size, '\0');
        registry.RegQueryValueExA(key, kPending, nullptr, type, reinterpret_cast<win::BYTE*>(&bytes[0]),
                                  &size);
        return bytes.substr(0, size);
    };
    win::DWORD type = 0;
    const std::string before = read(&type);
    std::string first = Write("first.dll", "1");
    std::string second = Write("second.dll", "2");

    EXPECT_TRUE(files().MoveFileExA(first.c_str(), nullptr, win::MOVEFILE_DELAY_UNTIL_REBOOT));
    EXPECT_TRUE(files().MoveFileExA(second.c_str(), nullptr, win::MOVEFILE_DELAY_UNTIL_REBOOT));
    std::string after = read(&type);
    EXPECT_EQ(win::REG_MULTI_SZ, type);
    const std::string pairs =
        "\\??\\" + first + std::string(2, '\0') + "\\??\\" + second + std::string(2, '\0');
    EXPECT_NE(std::string::npos, after.find(pairs)) << "each deletion is added after the earlier ones";
    EXPECT_EQ('\0', after.empty() ? 'x' : after.back()) << "the list ends with its own zero";
    EXPECT_NE(win::INVALID_FILE_ATTRIBUTES, files().GetFileAttributesA(first.c_str()))
        << "deleted only at restart";

    // Put the list back, so that no restart of this machine deletes the test's files.
    if (before.empty()) {
        registry.RegDeleteValueA(key, kPending);
    } else {
        registry.RegSetValueExA(key, kPending, 0, win::REG_MULTI_SZ,
                                reinterpret_cast<const win::BYTE*>(before.data()),
                                static_cast<win::DWORD>(before.size()));
    }
    registry.RegCloseKey(key);
}

TEST_F(FilesContract, AttributesOfMissingFilesFoldersAndFiles) {
    std::string file = Write("a.dll", "a");
    Preset();
    EXPECT_EQ(win::INVALID_FILE_ATTRIBUTES, files().GetFileAttributesA((dir_ + "\\missing").c_str()));
    EXPECT_EQ(win::ERROR_FILE_NOT_FOUND, LastError());
    Preset();
    EXPECT_EQ(win::INVALID_FILE_ATTRIBUTES, files().GetFileAttributesA((dir_ + "\\nodir\\x").c_str()));
    EXPECT_EQ(win::ERROR_PATH_NOT_FOUND, LastError());
    Preset();
    EXPECT_FALSE(files().SetFileAttributesA((dir_ + "\\missing").c_str(), win::FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_EQ(win::ERROR_FILE_NOT_FOUND, LastError());
    EXPECT_EQ(win::FILE_ATTRIBUTE_DIRECTORY, files().GetFileAttributesA(dir_.c_str()) & win::FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(0u, files().GetFileAttributesA(file.c_str()) & win::FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(FilesContract, CreateFileAOpensOnlyExistingFiles) {
    Preset();
    EXPECT_EQ(win::INVALID_HANDLE_VALUE, files().CreateFileA((dir_ + "\\missing").c_str(), 0, win::FILE_SHARE_READ,
                                                             nullptr, win::OPEN_EXISTING, 0, nullptr));
    EXPECT_EQ(win::ERROR_FILE_NOT_FOUND, LastError());
    Preset();
    EXPECT_EQ(win::INVALID_HANDLE_VALUE, files().CreateFileA((dir_ + "\\nodir\\x").c_str(), 0, win::FILE_SHARE_READ,
                                                             nullptr, win::OPEN_EXISTING, 0, nullptr));
    EXPECT_EQ(win::ERROR_PATH_NOT_FOUND, LastError());
}

TEST_F(FilesContract, OpenAlwaysCreatesOrTellsTheFileExistedAndAppendAccessWritesAtTheEnd) {
    const std::string path = dir_ + "\\run.log";
    auto append = [&](const std::string& bytes) {
        win::HANDLE file = files().CreateFileA(path.c_str(), win::FILE_APPEND_DATA,
                                               win::FILE_SHARE_READ | win::FILE_SHARE_WRITE, nullptr,
                                               win::OPEN_ALWAYS, win::FILE_ATTRIBUTE_NORMAL, nullptr);
        EXPECT_NE(win::INVALID_HANDLE_VALUE, file);
        win::DWORD opened = LastError();
        win::DWORD written = 0;
        EXPECT_TRUE(
            files().WriteFile(file, bytes.data(), static_cast<win::DWORD>(bytes.size()), &written, nullptr));
        EXPECT_EQ(bytes.size(), written);
        EXPECT_TRUE(files().CloseHandle(file));
        return opened;
    };
    Preset();
    EXPECT_EQ(win::ERROR_SUCCESS, append("first\r\n"));
    EXPECT_EQ(win::ERROR_ALREADY_EXISTS, append("second\r\n"));

    win::HANDLE file = files().CreateFileA(path.c_str(), win::GENERIC_READ, win::FILE_SHARE_READ, nullptr,
                                           win::OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(win::INVALID_HANDLE_VALUE, file);
    char bytes[64] = {};
    win::DWORD read = 0;
    EXPECT_TRUE(files().ReadFile(file, bytes, sizeof bytes, &read, nullptr));
    EXPECT_EQ("first\r\nsecond\r\n", std::string(bytes, read));
    // A handle opened for reading only may not write.
    Preset();
    win::DWORD written = 0;
    EXPECT_FALSE(files().WriteFile(file, "x", 1, &written, nullptr));
    EXPECT_EQ(win::ERROR_ACCESS_DENIED, LastError());
    EXPECT_TRUE(files().CloseHandle(file));

    Preset();
    EXPECT_EQ(win::INVALID_HANDLE_VALUE,
              files().CreateFileA((dir_ + "\\nodir\\run.log").c_str(), win::FILE_APPEND_DATA,
                                  win::FILE_SHARE_READ, nullptr, win::OPEN_ALWAYS, 0, nullptr));
    EXPECT_EQ(win::ERROR_PATH_NOT_FOUND, LastError());
}

TEST_F(FilesContract, DirectoriesAreCreatedOnceAndRemovedWhenEmpty) {
    std::string sub = dir_ + "\\sub";
    EXPECT_TRUE(files().CreateDirectoryA(sub.c_str(), nullptr));
    Preset();
    EXPECT_FALSE(files().CreateDirectoryA(sub.c_str(), nullptr));
    EXPECT_EQ(win::ERROR_ALREADY_EXISTS, LastError());
    Preset();
    EXPECT_FALSE(files().CreateDirectoryA((dir_ + "\\no\\sub").c_str(), nullptr));
    EXPECT_EQ(win::ERROR_PATH_NOT_FOUND, LastError());
    Write("sub\\x.txt", "x");
    Preset();
    EXPECT_FALSE(files().RemoveDirectoryA(sub.c_str()));
    EXPECT_EQ(win::ERROR_DIR_NOT_EMPTY, LastError());
    EXPECT_TRUE(files().DeleteFileA((sub + "\\x.txt").c_str()));
    Preset();
    EXPECT_FALSE(files().DeleteFileA((sub + "\\x.txt").c_str()));
    EXPECT_EQ(win::ERROR_FILE_NOT_FOUND, LastError());
    EXPECT_TRUE(files().RemoveDirectoryA(sub.c_str()));
}

TEST_F(FilesContract, FindFirstFileAMatchesWildcardsWithoutRegardToCase) {
    Write("driver.CAB", "1");
    Write("SP2.cab", "2");
    Write("readme.txt", "3");
    Write("ntprint.inf_x86", "4");
    std::vector<std::string> cabs = Find(dir_ + "\\*.cab");
    EXPECT_EQ((std::set<std::string>{"driver.CAB", "SP2.cab"}), std::set<std::string>(cabs.begin(), cabs.end()));
    EXPECT_EQ((std::vector<std::string>{"ntprint.inf_x86"}), Find(dir_ + "\\NTPRINT*"));
    EXPECT_EQ((std::vector<std::string>{"SP2.cab"}), Find(dir_ + "\\s?2.*"));

    // A folder other than a root lists "." and ".." for "*", and never for a pattern they do not match.
    std::vector<std::string> all = Find(dir_ + "\\*");
    EXPECT_EQ(6u, all.size());
    EXPECT_EQ(1u, std::set<std::string>(all.begin(), all.end()).count("."));
    EXPECT_EQ(1u, std::set<std::string>(all.begin(), all.end()).count(".."));
    EXPECT_EQ(6u, Find(dir_ + "\\*.*").size());
}

TEST_F(FilesContract, FindFirstFileAWithoutMatchOrFolderFails) {
    win::WIN32_FIND_DATAA data{};
    Preset();
    EXPECT_EQ(win::INVALID_HANDLE_VALUE, files().FindFirstFileA((dir_ + "\\*.cab").c_str(), &data));
    EXPECT_EQ(win::ERROR_FILE_NOT_FOUND, LastError());
    Preset();
    EXPECT_EQ(win::INVALID_HANDLE_VALUE, files().FindFirstFileA((dir_ + "\\nodir\\*").c_str(), &data));
    EXPECT_EQ(win::ERROR_PATH_NOT_FOUND, LastError());
}

TEST_F(FilesContract, SystemAndTemporaryDirectories) {
    char buffer[win::MAX_PATH];
    win::UINT length = files().GetSystemDirectoryA(buffer, sizeof(buffer));
    ASSERT_GT(length, 0u);
    std::string system(buffer, length);
    EXPECT_EQ(env_->WindowsDirectory() + "\\system32", system.substr(0, env_->WindowsDirectory().size() + 9))
        << system;
    EXPECT_EQ(length + 1, files().GetSystemDirectoryA(buffer, length)) << "too small: the size needed";

    win::DWORD tempLength = files().GetTempPathA(sizeof(buffer), buffer);
    ASSERT_GT(tempLength, 0u);
    EXPECT_EQ('\\', buffer[tempLength - 1]);
}

TEST_F(FilesContract, SpoolerDirectoriesAnswerASizeQueryThenTheLocalAndWin40Paths) {
    char buffer[win::MAX_PATH];
    {
        win::DWORD needed = 0;
        Preset();
        EXPECT_FALSE(env_->platform().spooler.GetPrinterDriverDirectoryA(nullptr, nullptr, 1, nullptr, 0, &needed));
        EXPECT_EQ(win::ERROR_INSUFFICIENT_BUFFER, LastError());
        ASSERT_GT(needed, 0u);
        ASSERT_LE(needed, sizeof(buffer));
        Preset();
        EXPECT_TRUE(env_->platform().spooler.GetPrinterDriverDirectoryA(nullptr, nullptr, 1, reinterpret_cast<win::BYTE*>(buffer),
                                                       needed, &needed));
        std::string drivers = buffer;
        EXPECT_GE(needed, drivers.size() + 1);
        EXPECT_EQ(env_->WindowsDirectory() + "\\system32\\spool\\drivers\\" + win::kNativeSpoolDirectory, drivers);
    }
    win::DWORD needed = 0;
    char win40[] = "Windows 4.0";
    EXPECT_TRUE(env_->platform().spooler.GetPrinterDriverDirectoryA(nullptr, win40, 1, reinterpret_cast<win::BYTE*>(buffer),
                                                   sizeof(buffer), &needed));
    EXPECT_EQ(env_->WindowsDirectory() + "\\system32\\spool\\drivers\\win40", std::string(buffer));
    EXPECT_TRUE(env_->platform().spooler.GetPrintProcessorDirectoryA(nullptr, nullptr, 1, reinterpret_cast<win::BYTE*>(buffer),
                                                    sizeof(buffer), &needed));
    EXPECT_EQ(env_->WindowsDirectory() + "\\system32\\spool\\prtprocs\\" + win::kNativeSpoolDirectory, std::string(buffer));
    char mixedCase[] = "windowS 4.0";
    EXPECT_TRUE(env_->platform().spooler.GetPrintProcessorDirectoryA(nullptr, mixedCase, 1, reinterpret_cast<win::BYTE*>(buffer),
                                                    sizeof(buffer), &needed));
    EXPECT_EQ(env_->WindowsDirectory() + "\\system32\\spool\\prtprocs\\win40", std::string(buffer));

    Preset();
    char unknown[] = "Windows Bogus";
    EXPECT_FALSE(env_->platform().spooler.GetPrinterDriverDirectoryA(nullptr, unknown, 1, reinterpret_cast<win::BYTE*>(buffer),
                                                    sizeof(buffer), &needed));
    EXPECT_EQ(win::ERROR_INVALID_ENVIRONMENT, LastError());
}

}  // namespace
