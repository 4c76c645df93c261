// The uninstaller's line-break rule.
#include "uninstall/UninstallText.h"

void UninstallText::ReplaceFirstNewlineMarker(std::string& text) {
    size_t at = text.find("\\n");
    if (at != std::string::npos) text.replace(at, 2, "\r\n");
}
