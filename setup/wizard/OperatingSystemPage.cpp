// The operating-system page: the generation of the running system, shown and held.
#include "setup/wizard/OperatingSystemPage.h"

#include "resources/resource.h"
#include "shared/CompatibilityRecord.h"
#include "shared/LanguageText.h"

namespace {

// The radio of each generation, as the generation table names it.
int RadioOf(const win::Architecture& architecture, PlatformGeneration generation) {
    return GetGenerationProperties(generation, architecture)->radioId;
}

}  // namespace

win::BOOL OperatingSystemPage::OnInit(win::DialogSurface& surface) {
    generation_ = kGenerationWin98Me;
    win::OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(version);
    context_.platform.kernel.GetVersionExA(&version);

    int selected = 0;
    if (version.dwPlatformId == win::VER_PLATFORM_WIN32_WINDOWS) {
        // Windows 95 (4.0) selects nothing; 98 and Me do.
        if (version.dwMinorVersion != 0) selected = IDC_OS_WIN98;
    } else if (version.dwPlatformId == win::VER_PLATFORM_WIN32_NT) {
        // As the install itself sees it: Windows 7 and later take the newest (Vista) drivers; any other
        // unknown NT release is installed for as 98/Me and selects nothing.
        generation_ = GenerationFromVersion(version);
        if (generation_ != kGenerationWin98Me) selected = RadioOf(context_.platform.architecture, generation_);
    } else {
        host_.ShowMessage(context_.messageText.Get("IDS_ERR_SYSTEM"));
    }
    if (selected != 0) surface.CheckRadioButton(IDC_OS_WIN98, IDC_OS_VISTA, selected);
    // The assistant's record is a Vista matter only (NT 6.0).
    if (version.dwPlatformId == win::VER_PLATFORM_WIN32_NT && version.dwMajorVersion == 6 &&
        version.dwMinorVersion == 0)
        ApplyCompatibilityRecord(context_.platform);

    for (PlatformGeneration g = 0; g < kGenerationCount; ++g)
        surface.EnableDlgItem(RadioOf(context_.platform.architecture, g), g == generation_ ? win::TRUE : win::FALSE);
    return win::TRUE;
}

void OperatingSystemPage::OnShow(win::DialogSurface& surface) {
    surface.SetDlgItemTextA(IDC_SELECT_GROUP,
                            LanguageText(context_.platform, "System").Get("Select").c_str());
}
