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

// Why the PE32 uninstaller refuses on 64-bit Windows without its x64 edition beside it: the language
// file's "IDS_NOTSUPPORT64", or a fixed text where an older file lacks the key.
std::string X64EditionMissingText(win::Platform& platform);
