// The uninstaller's line-break rule.
#include "uninstall/UninstallText.h"

void UninstallText::ReplaceFirstNewlineMarker(std::string& text) {
    size_t at = text.find("\\n");
    if (at != std::string::npos) text.replace(at, 2, "\r\n");
}

std::string X64EditionMissingText(win::Platform& platform) {
    std::string text = UninstallText(platform, "Message").Get("IDS_NOTSUPPORT64");
    return text.empty() ? "这是64位Windows系统，需要安装盘上的64位版本（uninstall64.exe、uninstall-printer64.exe），但安装盘上没有" : text;
}
