// Texts by section and key from a language file under the current directory.
#pragma once

#include <string>

#include "platform/Platform.h"

constexpr char kSetupLanguageFile[] = "\\language\\setup.ini";
constexpr char kUninstallLanguageFile[] = "\\language\\uninstall.ini";
// The size of a text lookup's result, with its terminating zero.
constexpr win::DWORD kLanguageTextSize = 2048;

class LanguageText {
public:
    // The file path is the current directory followed by the language file, fixed now.
    LanguageText(win::Platform& platform, const char* section, const char* languageFile = kSetupLanguageFile);
    virtual ~LanguageText() = default;

    // The text of the key in the bound section, with the line-break markers "\1", "\2" and "\3" (the
    // first of each) replaced by CR LF. Each call returns its own copy, so both threads may look up.
    std::string Get(const char* key) const;

    const std::string& FilePath() const { return filePath_; }
    const std::string& Section() const { return section_; }

protected:
    // For readers with another result size (with its zero) and another rule for line breaks.
    LanguageText(win::Platform& platform, const char* section, const char* languageFile,
                 win::DWORD resultSize, void (*lineBreaks)(std::string& text));

private:
    win::Platform& platform_;
    std::string filePath_;  // empty when the current directory cannot be read or the path is too long
    std::string section_;
    win::DWORD resultSize_ = kLanguageTextSize;
    void (*lineBreaks_)(std::string& text);
};

// Replaces the first occurrence of each marker "\1", "\2", "\3" by CR LF; the length stays the same.
void ReplaceLineBreakMarkers(std::string& text);
