// The language-file reader of both programs.
#include "shared/LanguageText.h"

#include <cstring>
#include <vector>

namespace {

constexpr win::DWORD kPathSize = 260;
constexpr size_t kSectionChars = 255;

}  // namespace

LanguageText::LanguageText(win::Platform& platform, const char* section, const char* languageFile)
    : LanguageText(platform, section, languageFile, kLanguageTextSize, ReplaceLineBreakMarkers) {}

LanguageText::LanguageText(win::Platform& platform, const char* section, const char* languageFile,
                           win::DWORD resultSize, void (*lineBreaks)(std::string& text))
    : platform_(platform),
      section_(std::string(section).substr(0, kSectionChars)),
      resultSize_(resultSize),
      lineBreaks_(lineBreaks) {
    char directory[kPathSize] = {};
    win::DWORD length = platform.files.GetCurrentDirectoryA(kPathSize, directory);
    // A path that does not fit in 260 bytes is not looked up at all: every text is then empty.
    if (length == 0 || length >= kPathSize) return;
    std::string path = std::string(directory, length) + languageFile;
    if (path.size() < kPathSize) filePath_ = path;
}

std::string LanguageText::Get(const char* key) const {
    if (filePath_.empty()) return std::string();
    std::vector<char> buffer(resultSize_, '\0');
    platform_.profile.GetPrivateProfileStringA(section_.c_str(), key, "", buffer.data(), resultSize_,
                                               filePath_.c_str());
    std::string text(buffer.data());
    lineBreaks_(text);
    return text;
}

void ReplaceLineBreakMarkers(std::string& text) {
    for (const char* marker : {"\\1", "\\2", "\\3"}) {
        size_t at = text.find(marker);
        if (at != std::string::npos) text.replace(at, 2, "\r\n");
    }
}
