// The uninstaller's texts from "\language\uninstall.ini": results of at most 1023 bytes, and one line
// break written as the two characters "\n".
#pragma once

#include <string>

#include "shared/LanguageText.h"

constexpr win::DWORD kUninstallTextSize = 1024;

class UninstallText : public LanguageText {
public:
    UninstallText(win::Platform& platform, const char* section)
        : LanguageText(platform, section, kUninstallLanguageFile, kUninstallTextSize,
                       ReplaceFirstNewlineMarker) {}

    // Replaces the first "\n" (backslash, n) by CR LF.
    static void ReplaceFirstNewlineMarker(std::string& text);
};
