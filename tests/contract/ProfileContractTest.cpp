// GetPrivateProfileStringA as Windows answers it: the same cases against our reader and the real call.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/support/ContractEnv.h"

namespace {

const char kTestFile[] =
    "[section1]\r\nname1=val1\r\nname2=\"val2\"\r\nname3\r\nname4=a\r\n[section2]\r\n";

class ProfileContract : public ::testing::Test {
protected:
    void SetUp() override {
        env_ = MakeContractEnv();
        dir_ = env_->ScratchDirectory();
    }

    std::string Write(const std::string& name, const std::string& bytes) {
        std::string path = dir_ + "\\" + name;
        env_->WriteFile(path, bytes);
        return path;
    }

    // The text and the returned length, from a buffer of the given size.
    std::string Get(const std::string& file, const char* section, const char* key, const char* def,
                    win::DWORD size, win::DWORD* length) {
        std::string buffer(size + 8, '#');
        *length = env_->platform().profile.GetPrivateProfileStringA(section, key, def, &buffer[0], size,
                                                                    file.c_str());
        return buffer.substr(0, size);
    }

    std::string Text(const std::string& file, const char* section, const char* key, const char* def = "dflt") {
        win::DWORD length = 0;
        std::string buffer = Get(file, section, key, def, 260, &length);
        return std::string(buffer.c_str());
    }

    std::unique_ptr<ContractEnv> env_;
    std::string dir_;
};

TEST_F(ProfileContract, SectionAndKeyNamesMatchWithoutRegardToCase) {
    std::string file = Write("a.ini", kTestFile);
    win::DWORD length = 0;
    EXPECT_STREQ("val1", Get(file, "section1", "NaMe1", "dflt", 260, &length).c_str());
    EXPECT_EQ(4u, length);
    EXPECT_EQ("val1", Text(file, "SECTION1", "name1"));
}

TEST_F(ProfileContract, OnePairOfQuotesAroundTheValueIsRemoved) {
    std::string file = Write("a.ini", kTestFile + std::string("[q]\r\nk=\"\"x\"\"\r\nhalf=\"x\r\nin=a\"b\"\r\n"));
    win::DWORD length = 0;
    EXPECT_STREQ("val2", Get(file, "section1", "name2", "dflt", 260, &length).c_str());
    EXPECT_EQ(4u, length);
    EXPECT_EQ("\"x\"", Text(file, "q", "k"));
    EXPECT_EQ("\"x", Text(file, "q", "half"));
    EXPECT_EQ("a\"b\"", Text(file, "q", "in"));
}

TEST_F(ProfileContract, BlanksAroundHeadersKeysAndValuesAreTrimmed) {
    std::string file = Write("a.ini", "[ section1 ]\r\n  k  =  v  \r\n\tt\t=\tw\t\r\n");
    EXPECT_EQ("v", Text(file, "section1", "k"));
    EXPECT_EQ("w", Text(file, "section1", "t"));
}

TEST_F(ProfileContract, ALineWithoutEqualsSignIsNoKey) {
    std::string file = Write("a.ini", kTestFile);
    EXPECT_EQ("dflt", Text(file, "section1", "name3"));
}

TEST_F(ProfileContract, ValuesAreCutToTheBufferSize) {
    std::string file = Write("a.ini", kTestFile);
    win::DWORD length = 99;
    EXPECT_EQ(std::string("val\0", 4), Get(file, "section1", "name1", "dflt", 4, &length));
    EXPECT_EQ(3u, length);
    EXPECT_EQ(std::string("val1\0", 5), Get(file, "section1", "name1", "dflt", 5, &length));
    EXPECT_EQ(4u, length);
    EXPECT_EQ(std::string("\0", 1), Get(file, "section1", "name4", "dflt", 1, &length));
    EXPECT_EQ(0u, length);

    char untouched[4] = {'#', '#', '#', '#'};
    EXPECT_EQ(0u, env_->platform().profile.GetPrivateProfileStringA("section1", "name1", "dflt", untouched, 0,
                                                                     file.c_str()));
    EXPECT_EQ('#', untouched[0]);
}

TEST_F(ProfileContract, MissingKeySectionOrFileGivesTheDefaultWithoutTrailingBlanks) {
    std::string file = Write("a.ini", kTestFile);
    win::DWORD length = 0;
    EXPECT_STREQ("default", Get(file, "section1", "missing", "default  ", 260, &length).c_str());
    EXPECT_EQ(7u, length);
    EXPECT_STREQ("default", Get(file, "nosection", "name1", "default  ", 260, &length).c_str());
    EXPECT_EQ(7u, length);
    EXPECT_STREQ("default", Get(dir_ + "\\missing.ini", "section1", "name1", "default  ", 260, &length).c_str());
    EXPECT_EQ(7u, length);
    EXPECT_STREQ("", Get(file, "section1", "missing", nullptr, 260, &length).c_str());
    EXPECT_EQ(0u, length);
    EXPECT_STREQ("de", Get(file, "section1", "missing", "default", 3, &length).c_str());
    EXPECT_EQ(2u, length);
}

TEST_F(ProfileContract, ANullKeyListsTheKeyNamesOfTheSection) {
    std::string file = Write("a.ini", kTestFile);
    win::DWORD length = 0;
    std::string list = Get(file, "section1", nullptr, "dflt", 260, &length);
    EXPECT_EQ(18u, length);
    EXPECT_EQ(std::string("name1\0name2\0name4\0\0", 19), list.substr(0, 19));

    // Cut to fit: the last name is cut and two zero bytes end the buffer.
    list = Get(file, "section1", nullptr, "dflt", 16, &length);
    EXPECT_EQ(14u, length);
    if (env_->IsWine())
        EXPECT_EQ(std::string("name1\0name2\0na\0", 15), list.substr(0, 15)) << "Wine leaves the last byte as it was";
    else
        EXPECT_EQ(std::string("name1\0name2\0na\0\0", 16), list);
}

TEST_F(ProfileContract, ANullSectionListsTheSectionNames) {
    std::string file = Write("a.ini", kTestFile);
    win::DWORD length = 0;
    std::string list = Get(file, nullptr, "name1", "dflt", 260, &length);
    EXPECT_EQ(18u, length);
    EXPECT_EQ(std::string("section1\0section2\0\0", 19), list.substr(0, 19));
}

TEST_F(ProfileContract, CrOnlyAndLfOnlyLineEndsReadLikeCrLf) {
    for (const char* end : {"\r", "\n"}) {
        std::string bytes = kTestFile;
        for (size_t at = bytes.find("\r\n"); at != std::string::npos; at = bytes.find("\r\n", at))
            bytes.replace(at, 2, end);
        std::string file = Write("ends.ini", bytes);
        EXPECT_EQ("val1", Text(file, "section1", "name1")) << "line end " << int(end[0]);
        EXPECT_EQ("a", Text(file, "section1", "name4")) << "line end " << int(end[0]);
        EXPECT_EQ("dflt", Text(file, "section1", "name3")) << "line end " << int(end[0]);
    }
}

TEST_F(ProfileContract, TheFirstMatchingKeyOfASectionWins) {
    std::string file = Write("a.ini", "[s]\r\nk=first\r\nK=second\r\n");
    EXPECT_EQ("first", Text(file, "s", "k"));
}

TEST_F(ProfileContract, ThereAreNoInlineComments) {
    std::string file = Write("a.ini", "[s]\r\nk=v ; c\r\n");
    EXPECT_EQ("v ; c", Text(file, "s", "k"));
}

TEST_F(ProfileContract, CodePage936BytesPassUnchanged) {
    const std::string text = "\xC4\xE3\xBA\xC3\xA3\xAC\xCA\xC0\xBD\xE7";
    std::string file = Write("a.ini", "[Message]\r\nIDS_X=" + text + "\r\n");
    EXPECT_EQ(text, Text(file, "Message", "IDS_X"));
}

TEST_F(ProfileContract, AUtf8ByteOrderMarkHidesTheFirstSectionOnWindows) {
    std::string file = Write("bom.ini", "\xEF\xBB\xBF[section1]\r\nname1=val1\r\n[section2]\r\nname2=val2\r\n");
    EXPECT_EQ("val2", Text(file, "section2", "name2"));
    if (env_->IsWine())
        EXPECT_EQ("val1", Text(file, "section1", "name1")) << "Wine recognises the byte-order mark";
    else
        EXPECT_EQ("dflt", Text(file, "section1", "name1"));
}

TEST_F(ProfileContract, KeysBeforeAnySectionAreNotFoundOnWindows) {
    std::string file = Write("pre.ini", "name0=before\r\n[]\r\nname0=under\r\n");
    if (env_->IsWine())
        EXPECT_EQ("before", Text(file, "", "name0")) << "Wine finds the key before any section";
    else
        EXPECT_EQ("under", Text(file, "", "name0"));
}

TEST_F(ProfileContract, ABareFileNameIsLookedUpInTheWindowsDirectory) {
    const std::string name = "contract-bare-name.ini";
    std::string inWindows = env_->WindowsDirectory() + "\\" + name;
    std::string inCurrent = env_->CurrentDirectory() + "\\" + name;
    env_->WriteFile(inWindows, "[s]\r\nk=windows\r\n");
    env_->WriteFile(inCurrent, "[s]\r\nk=current\r\n");
    win::DWORD length = 0;
    EXPECT_STREQ("windows", Get(name, "s", "k", "dflt", 260, &length).c_str());
    EXPECT_STREQ("current", Get(".\\" + name, "s", "k", "dflt", 260, &length).c_str());
    env_->RemoveFile(inWindows);
    env_->RemoveFile(inCurrent);
}

}  // namespace
