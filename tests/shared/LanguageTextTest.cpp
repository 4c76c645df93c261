// Texts from the language file under the current directory.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "platform/sim/SimPlatform.h"
#include "shared/LanguageText.h"

namespace {

class LanguageTextTest : public ::testing::Test {
protected:
    void WriteLanguageFile(const std::string& bytes) {
        sim_.windows().WriteFile("C:\\MEDIUM\\language\\setup.ini", bytes);
    }
    win::sim::SimPlatform sim_;
};

TEST_F(LanguageTextTest, ReadsTheKeyOfTheBoundSection) {
    WriteLanguageFile("[Setup]\r\nCaption=Printer driver setup\r\n[Message]\r\nCaption=other\r\n");
    LanguageText setup(sim_.platform(), "Setup");
    EXPECT_EQ("C:\\MEDIUM\\language\\setup.ini", setup.FilePath());
    EXPECT_EQ("Printer driver setup", setup.Get("caption"));
    EXPECT_EQ("other", LanguageText(sim_.platform(), "Message").Get("Caption"));
}

TEST_F(LanguageTextTest, ReplacesTheFirstOfEachLineBreakMarkerOnce) {
    WriteLanguageFile("[Message]\r\nA=one\\1two\\2three\\3four\r\nB=x\\1y\\1z\r\nC=\\3\\2\\1\\3\r\n");
    LanguageText texts(sim_.platform(), "Message");
    EXPECT_EQ("one\r\ntwo\r\nthree\r\nfour", texts.Get("A"));
    EXPECT_EQ("x\r\ny\\1z", texts.Get("B"));
    std::string c = texts.Get("C");
    EXPECT_EQ("\r\n\r\n\r\n\\3", c);
    EXPECT_EQ(std::string("\\3\\2\\1\\3").size(), c.size()) << "the length does not change";
}

TEST_F(LanguageTextTest, MissingFileSectionOrKeyGivesAnEmptyText) {
    LanguageText noFile(sim_.platform(), "Message");
    EXPECT_EQ("", noFile.Get("IDS_ERR_COPYFIEL"));
    WriteLanguageFile("[Message]\r\nIDS_X=x\r\n");
    EXPECT_EQ("", LanguageText(sim_.platform(), "Setup").Get("IDS_X"));
    EXPECT_EQ("", LanguageText(sim_.platform(), "Message").Get("IDS_Y"));
}

TEST_F(LanguageTextTest, ALongValueIsCutTo2047Bytes) {
    std::string value(3000, 'x');
    value[2046] = 'L';
    value[2047] = 'C';
    WriteLanguageFile("[Message]\r\nLong=" + value + "\r\n");
    std::string text = LanguageText(sim_.platform(), "Message").Get("Long");
    EXPECT_EQ(2047u, text.size());
    EXPECT_EQ('L', text.back());
}

TEST_F(LanguageTextTest, TheFileIsLookedUpUnderTheCurrentDirectoryNotTheProgramsOne) {
    WriteLanguageFile("[Setup]\r\nCaption=medium\r\n");
    sim_.windows().moduleFileName = "C:\\MEDIUM\\setup.exe";
    sim_.windows().currentDirectory = "C:\\Users\\till";
    LanguageText texts(sim_.platform(), "Setup");
    EXPECT_EQ("C:\\Users\\till\\language\\setup.ini", texts.FilePath());
    EXPECT_EQ("", texts.Get("Caption"));
}

TEST_F(LanguageTextTest, TheFilePathIsFixedAtConstruction) {
    WriteLanguageFile("[Setup]\r\nCaption=medium\r\n");
    LanguageText texts(sim_.platform(), "Setup");
    sim_.windows().currentDirectory = "C:\\elsewhere";
    EXPECT_EQ("medium", texts.Get("Caption"));
}

TEST_F(LanguageTextTest, ACurrentDirectoryTooLongForThePathGivesEmptyTextsWithoutOverrun) {
    std::string longDir = "C:\\" + std::string(238, 'd');  // 241 characters: one too many
    sim_.windows().currentDirectory = longDir;
    sim_.windows().WriteFile(longDir + "\\language\\setup.ini", "[Setup]\r\nCaption=deep\r\n");
    EXPECT_EQ("", LanguageText(sim_.platform(), "Setup").Get("Caption"));

    std::string fits = "C:\\" + std::string(237, 'd');  // 240 characters: the longest that fits
    sim_.windows().currentDirectory = fits;
    sim_.windows().WriteFile(fits + "\\language\\setup.ini", "[Setup]\r\nCaption=deep\r\n");
    EXPECT_EQ("deep", LanguageText(sim_.platform(), "Setup").Get("Caption"));

    sim_.windows().currentDirectory = "C:\\" + std::string(400, 'e');
    EXPECT_EQ("", LanguageText(sim_.platform(), "Setup").Get("Caption"));
}

TEST_F(LanguageTextTest, AnUnreadableCurrentDirectoryGivesEmptyTexts) {
    WriteLanguageFile("[Setup]\r\nCaption=medium\r\n");
    sim_.windows().InjectFault("GetCurrentDirectoryA", win::ERROR_ACCESS_DENIED);
    LanguageText texts(sim_.platform(), "Setup");
    EXPECT_EQ("", texts.Get("Caption"));
}

TEST_F(LanguageTextTest, SectionNamesAreCutTo255Characters) {
    std::string section(300, 's');
    WriteLanguageFile("[" + section.substr(0, 255) + "]\r\nk=cut\r\n");
    EXPECT_EQ("cut", LanguageText(sim_.platform(), section.c_str()).Get("k"));
}

TEST_F(LanguageTextTest, LookupsFromTwoThreadsKeepTheirOwnTexts) {
    WriteLanguageFile("[Progress]\r\nWait=" + std::string(500, 'w') + "\r\n[Message]\r\nIDS_E=" +
                      std::string(500, 'e') + "\r\n");
    LanguageText progress(sim_.platform(), "Progress");
    LanguageText message(sim_.platform(), "Message");
    bool workerSawOnlyItsText = true;
    std::thread worker([&] {
        for (int i = 0; i < 300; ++i)
            if (message.Get("IDS_E") != std::string(500, 'e')) workerSawOnlyItsText = false;
    });
    bool uiSawOnlyItsText = true;
    for (int i = 0; i < 300; ++i)
        if (progress.Get("Wait") != std::string(500, 'w')) uiSawOnlyItsText = false;
    worker.join();
    EXPECT_TRUE(workerSawOnlyItsText);
    EXPECT_TRUE(uiSawOnlyItsText);
}

}  // namespace
