// The text-fit check: its measure of a text against the templates, the shipped texts, and that the
// places it checks are where the programs put each text.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "resources/resource.h"
#include "tests/support/SetupResources.h"
#include "tools/medium-check/MediumCheck.h"
#include "tools/medium-check/TextFit.h"

namespace {

namespace fs = std::filesystem;
using medium::TextRoom;

const win::sim::ControlTemplate& SetupControl(int dialog, int control) {
    return *medium::SetupTemplates().dialogs.at(dialog).Control(control);
}

TEST(TextFitTest, SingleByteCharactersAreFourUnitsDoubleByteEightAndMnemonicsDrawNothing) {
    EXPECT_EQ(28, medium::TextWidth("Receipt", true));
    EXPECT_EQ(40, medium::TextWidth("\xca\xd5\xbe\xdd\xb4\xf2\xd3\xa1\xbb\xfa", true));  // 收据打印机
    EXPECT_EQ(16, medium::TextWidth("&Next", true));
    EXPECT_EQ(20, medium::TextWidth("&Next", false));
    EXPECT_EQ(12, medium::TextWidth("A&&B", true)) << "&& draws one &";
    // A trail byte of 936 may be "&" or "\\": it belongs to its character.
    EXPECT_EQ(8, medium::TextWidth("\x81&", true));
}

TEST(TextFitTest, LinesAreTheFirstOfEachMarkerAndResourceLineBreaks) {
    EXPECT_EQ((std::vector<std::string>{"a", "b", "c\\1d"}), medium::ShownLines("a\\1b\\2c\\1d"));
    EXPECT_EQ((std::vector<std::string>{"1:x", "2:y"}), medium::ShownLines("1:x\r\n2:y"));
}

TEST(TextFitTest, EachKindOfControlKeepsItsOwnRoom) {
    const auto& radio = SetupControl(IDD_SERIES_PAGE, IDC_RECEIPT);  // 53 wide
    EXPECT_EQ(TextRoom::kCheck, medium::RoomKind(radio, false));
    EXPECT_EQ("", medium::WhyNotFitting("Receipt", radio, TextRoom::kCheck));
    EXPECT_EQ("60 dialog units wide; the control leaves 41 of its 53",
              medium::WhyNotFitting("Receipt printer", radio, TextRoom::kCheck));
    const auto& label = SetupControl(IDD_PORT_PAGE, IDC_PORT_LABEL);  // 32 wide, one line
    EXPECT_EQ(TextRoom::kStatic, medium::RoomKind(label, false));
    EXPECT_EQ("", medium::WhyNotFitting("Port:", label, TextRoom::kStatic));
    EXPECT_NE("", medium::WhyNotFitting("Printer port:", label, TextRoom::kStatic));
    EXPECT_EQ(TextRoom::kGroupBox, medium::RoomKind(SetupControl(IDD_PORT_PAGE, IDC_PORT_GROUP), false));
    EXPECT_EQ(TextRoom::kPushButton, medium::RoomKind(SetupControl(IDD_WIZARD, IDC_BACK), false));
    const auto& parity = SetupControl(IDD_PORT_PAGE, IDC_PARITY);  // 45 wide, less its arrow
    EXPECT_EQ(TextRoom::kComboEntry, medium::RoomKind(parity, true));
    EXPECT_EQ("", medium::WhyNotFitting("Even", parity, TextRoom::kComboEntry));
    EXPECT_NE("", medium::WhyNotFitting("Even parity", parity, TextRoom::kComboEntry));
    // The USB hint holds five lines; a sixth, or one line too wide, does not fit.
    const auto& note = SetupControl(IDD_PORT_PAGE, IDC_USB_NOTE);
    EXPECT_EQ(5, medium::RoomOf(note, TextRoom::kStatic).lines);
    EXPECT_EQ("6 lines, 48 dialog units high; the control holds 5 (43 high)",
              medium::WhyNotFitting("1\r\n2\r\n3\r\n4\r\n5\r\n6", note, TextRoom::kStatic));
    EXPECT_EQ("line 2 is 208 dialog units wide; the control leaves 205 of its 205",
              medium::WhyNotFitting("1\r\n" + std::string(52, 'x'), note, TextRoom::kStatic));
}

// The programs' own texts, which no language file replaces: the system page's, the reboot question's
// buttons... and the USB hint of the string table.
TEST(TextFitTest, TheTemplatesOwnTextsFit) {
    for (const char* file : {"setup.ini", "uninstall.ini"}) {
        const auto* script = std::string(file) == "setup.ini" ? &medium::SetupTemplates() : &medium::UninstallTemplates();
        for (const auto& [id, dialog] : script->dialogs) {
            for (const auto& control : dialog.controls) {
                if (control.text.empty() || (control.className != "Button" && control.className != "Static")) continue;
                bool replaced = false;
                for (const medium::TextUse& use : medium::TextUses())
                    replaced = replaced || (use.file == std::string(file) && use.dialog == id && use.control == control.id);
                if (replaced) continue;
                if (control.className == "Static" && (control.style & win::sim::SS_TYPEMASK) > 2) continue;  // pictures
                EXPECT_EQ("", medium::WhyNotFitting(control.text, control, medium::RoomKind(control, false)))
                    << "dialog " << id << " control " << control.id;
            }
        }
    }
    EXPECT_EQ("", medium::WhyNotFitting(medium::SetupTemplates().strings.at(IDS_USB_NOTE),
                                        SetupControl(IDD_PORT_PAGE, IDC_USB_NOTE), TextRoom::kStatic));
}

// Every place the check names is a control of its template, and the tool's templates are the build's.
TEST(TextFitTest, EveryUseNamesAControlOfTheTemplatesTheProgramsAreBuiltWith) {
    for (const medium::TextUse& use : medium::TextUses()) {
        const auto& script = std::string(use.file) == "setup.ini" ? medium::SetupTemplates() : medium::UninstallTemplates();
        ASSERT_TRUE(script.dialogs.count(use.dialog)) << use.section << "/" << use.key;
        EXPECT_NE(nullptr, script.dialogs.at(use.dialog).Control(use.control)) << use.section << "/" << use.key;
    }
    EXPECT_EQ(SetupResources().dialogs.at(IDD_PORT_PAGE).Control(IDC_USB_NOTE)->width,
              SetupControl(IDD_PORT_PAGE, IDC_USB_NOTE).width);
}

class TextFitMediumTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/text-fit-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root_ = pattern;
        fs::copy(fs::path(SOURCE_DIR) / "medium", root_, fs::copy_options::recursive);
    }
    void TearDown() override { fs::remove_all(root_); }

    std::vector<medium::Finding> Check() {
        std::vector<medium::Finding> findings;
        medium::CheckOptions options;
        options.checkFiles = false;
        EXPECT_TRUE(medium::CheckMedium(root_, options, &findings));
        return findings;
    }
    void Set(const std::string& file, const std::string& key, const std::string& value) {
        const fs::path path = fs::path(root_) / file;
        std::ifstream in(path, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        size_t at = bytes.find("\n" + key + "=");
        ASSERT_NE(std::string::npos, at) << key;
        size_t end = bytes.find("\r\n", at + 1);
        bytes.replace(at + 1, end - at - 1, key + "=" + value);
        std::ofstream(path, std::ios::binary) << bytes;
    }

    std::string root_;
};

TEST_F(TextFitMediumTest, TheShippedTextsFitAndALongerOneIsNamedWithBothWidths) {
    EXPECT_TRUE(Check().empty());
    Set("language-en/setup.ini", "Receipt", "Receipt printer");
    Set("language/setup.ini", "Help", "\xc7\xeb\xb0\xb4\xd5\xd5\xcc\xe1\xca\xbe\xcd\xea\xb3\xc9\xb4\xf2\xd3\xa1"
                                      "\xbb\xfa\xc7\xfd\xb6\xaf\xb3\xcc\xd0\xf2\xb5\xc4\xb0\xb2\xd7\xb0");
    Set("language-en/uninstall.ini", "IDS_DELETING2", "Now removing the printer called %s from this computer ...");
    std::vector<medium::Finding> findings = Check();
    ASSERT_EQ(3u, findings.size());
    EXPECT_EQ("language\\setup.ini [Setup] Help: \"\xc7\xeb\xb0\xb4\xd5\xd5\xcc\xe1\xca\xbe\xcd\xea\xb3\xc9\xb4\xf2"
              "\xd3\xa1\xbb\xfa\xc7\xfd\xb6\xaf\xb3\xcc\xd0\xf2\xb5\xc4\xb0\xb2\xd7\xb0\" does not fit control 1093 of "
              "dialog 102: 136 dialog units wide; the control leaves 77 of its 77",
              medium::FormatFinding(findings[0]));
    EXPECT_EQ("language-en\\setup.ini [Series] Receipt: \"Receipt printer\" does not fit control 1019 of dialog 131: "
              "60 dialog units wide; the control leaves 41 of its 53",
              medium::FormatFinding(findings[1]));
    EXPECT_EQ(medium::FindingKind::kDoesNotFit, findings[2].kind);
    EXPECT_NE(std::string::npos, findings[2].message.find("(with ZMX-M530(S) for %s)")) << findings[2].message;
}

}  // namespace
