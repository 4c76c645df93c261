// CopyDriverFile and the system-file fix-ups that follow a model's file copies.
#include "setup/engine/DriverFiles.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/FileHandles.h"
#include "setup/engine/FixedDriverFiles.h"

namespace {

// The name of a failed copy's message: the text, the error code as "%d" prints it and the path copied.
std::string CopyFailure(SetupContext& context, win::DWORD error, const std::string& path) {
    return MessageFor(context.messageText, "IDS_ERR_COPYFIEL") +
           "  er = " + std::to_string(static_cast<int32_t>(error)) + path;
}

// Upper-cases the ASCII letters; a lead byte of code page 936 keeps its trail byte unchanged.
void UpperCaseInPlace(std::string& name) {
    for (size_t i = 0; i < name.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(name[i]);
        if (c >= 0x81 && c <= 0xFE) ++i;
        else if (c >= 'a' && c <= 'z') name[i] = static_cast<char>(c - 'a' + 'A');
    }
}

// A directory from a call that returns its length: false when the call failed or the path did not fit.
bool DirectoryFrom(win::UINT length, const char* buffer, size_t size, std::string* directory) {
    if (length == 0 || length >= size) return false;
    directory->assign(buffer, length);
    return true;
}

bool SpoolerDirectory(win::Platform& platform, bool processor, win::DWORD size, std::string* directory) {
    std::vector<win::BYTE> buffer(size, 0);
    win::DWORD needed = 0;
    win::Spooler& spooler = platform.spooler;
    win::BOOL ok = processor ? spooler.GetPrintProcessorDirectoryA(nullptr, nullptr, 1, buffer.data(), size, &needed)
                             : spooler.GetPrinterDriverDirectoryA(nullptr, nullptr, 1, buffer.data(), size, &needed);
    if (!ok) return false;
    const char* text = reinterpret_cast<const char*>(buffer.data());
    directory->assign(text, strnlen(text, size));
    return true;
}

bool WindowsDirectory(win::Platform& platform, std::string* directory) {
    char buffer[win::MAX_PATH];
    return DirectoryFrom(platform.files.GetWindowsDirectoryA(buffer, sizeof(buffer)), buffer, sizeof(buffer),
                         directory);
}

bool SystemDirectory(win::Platform& platform, win::UINT size, std::string* directory) {
    std::vector<char> buffer(size, 0);
    return DirectoryFrom(platform.files.GetSystemDirectoryA(buffer.data(), size), buffer.data(), size, directory);
}

// The directory of a destination code, or false with the message key to report.
bool DestinationDirectory(win::Platform& platform, DestinationCode destination, std::string* directory,
                          const char** failureKey) {
    switch (destination) {
    case kDestinationDriverDirectory:
        *failureKey = "IDS_ERR_GETDRIVERDIR";
        return SpoolerDirectory(platform, false, 256, directory);
    case kDestinationProcessorDirectory:
        *failureKey = "IDS_ERR_GETPRODIR";
        return SpoolerDirectory(platform, true, 256, directory);
    case kDestinationSystemDirectory:
        *failureKey = "IDS_ERR_GETSYSDIR";
        return SystemDirectory(platform, 256, directory);
    case kDestinationInfDirectory:
        *failureKey = "IDS_ERR_GETWINDIR";
        if (!WindowsDirectory(platform, directory)) return false;
        *directory += "\\inf";
        return true;
    case kDestinationDriverVersion3Directory:
        *failureKey = "IDS_ERR_GETDRIVERDIR";
        if (!SpoolerDirectory(platform, false, 256, directory)) return false;
        *directory += "\\3";
        return true;
    default:
        *failureKey = "IDS_ERR_DIRTYPE";
        return false;
    }
}

constexpr int kNotTaken = -1;

// Windows 2000, XP and Server 2003: the file from the cabinets' extraction in the temporary directory;
// kNotTaken when the medium must supply it.
int CopyFromExtractedCabinets(SetupContext& context, const std::string& name, InstallMessage& message) {
    win::Platform& platform = context.platform;
    DriverStagingState& state = context.driverStaging;
    if (state.extractionPending) {
        state.extractionPending = false;
        if (!ExtractSystemDriverFiles(platform, state)) return kNotTaken;
    }
    char temp[win::MAX_PATH];
    std::string tempDirectory;
    if (!DirectoryFrom(platform.files.GetTempPathA(sizeof(temp), temp), temp, sizeof(temp), &tempDirectory))
        return kNotTaken;
    std::string driverDirectory;
    if (!SpoolerDirectory(platform, false, win::MAX_PATH, &driverDirectory)) {
        message.Set(MessageFor(context.messageText, "IDS_ERR_GETDRIVERDIR"));
        return 0;
    }
    std::string source = tempDirectory + name;
    std::string target = driverDirectory + "\\" + name;
    return platform.files.CopyFileA(source.c_str(), target.c_str(), win::FALSE) ? kDriverFileCopied : kNotTaken;
}

// Vista: the file from the first ntprint folder of the driver store for the program's architecture;
// there is no medium fallback.
int CopyFromDriverStore(SetupContext& context, const std::string& name, InstallMessage& message) {
    win::Platform& platform = context.platform;
    win::Files& files = platform.files;
    std::string windowsDirectory;
    WindowsDirectory(platform, &windowsDirectory);
    std::string repository = windowsDirectory + "\\System32\\DriverStore\\FileRepository\\";
    win::WIN32_FIND_DATAA data{};
    win::FindHandle find(files, files.FindFirstFileA((repository + platform.architecture.driverStorePattern).c_str(), &data));
    if (!find.Valid()) {
        message.Set("Couldn't find system fiels.");
        return 0;
    }
    std::string folder(data.cFileName, strnlen(data.cFileName, sizeof(data.cFileName)));
    std::string source = repository + folder + "\\" + platform.architecture.driverStoreFiles + "\\" + name;
    std::string driverDirectory;
    if (!SpoolerDirectory(platform, false, win::MAX_PATH, &driverDirectory)) {
        message.Set(MessageFor(context.messageText, "IDS_ERR_GETDRIVERDIR"));
        return 0;
    }
    std::string target = driverDirectory + "\\" + name;
    if (files.CopyFileA(source.c_str(), target.c_str(), win::FALSE)) {
        if (!find.Close()) {
            message.Set("Couldn't close search handle.");
            return 0;
        }
        return kDriverFileCopied;
    }
    win::DWORD error = platform.kernel.GetLastError();
    if (error == win::ERROR_SHARING_VIOLATION || error == win::ERROR_ACCESS_DENIED) return static_cast<int>(error);
    message.Set(CopyFailure(context, error, source), error);
    return 0;
}

int CopyFromMedium(SetupContext& context, const std::string& name, DestinationCode destination,
                   PlatformGeneration generation, bool prefix, InstallMessage& message) {
    win::Platform& platform = context.platform;
    // "0" is the model files' value for a file that is not set.
    if (!name.empty() && name[0] == '0') return 0;

    std::string directory;
    const char* failureKey = "";
    if (!DestinationDirectory(platform, destination, &directory, &failureKey)) {
        message.Set(MessageFor(context.messageText, failureKey));
        return 0;
    }
    char current[256];
    std::string currentDirectory;
    if (!DirectoryFrom(platform.files.GetCurrentDirectoryA(sizeof(current), current), current, sizeof(current),
                       &currentDirectory)) {
        message.Set(MessageFor(context.messageText, "IDS_ERR_GETCURDIR"));
        return 0;
    }
    const GenerationProperties* properties = GetGenerationProperties(generation, platform.architecture);
    if (properties == nullptr) {
        // No medium directory belongs to an unknown generation.
        message.Set(CopyFailure(context, win::ERROR_INVALID_PARAMETER, name), win::ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::string source = currentDirectory + properties->sourceDirectory + name;
    std::string target = directory + "\\" + (prefix ? "n" + name : name);

    win::Files& files = platform.files;
    // Clears a read-only attribute left by an earlier installation; the copy reports any real trouble.
    files.SetFileAttributesA(target.c_str(), win::FILE_ATTRIBUTE_ARCHIVE);
    if (files.CopyFileA(source.c_str(), target.c_str(), win::FALSE)) return kDriverFileCopied;
    win::DWORD error = platform.kernel.GetLastError();
    if (error == win::ERROR_SHARING_VIOLATION || error == win::ERROR_ACCESS_DENIED) return static_cast<int>(error);
    message.Set(CopyFailure(context, error, source), error);
    return 0;
}

}  // namespace

std::string DestinationDirectoryOf(win::Platform& platform, DestinationCode destination) {
    std::string directory;
    const char* failureKey = "";
    return DestinationDirectory(platform, destination, &directory, &failureKey) ? directory : std::string();
}

const char* SystemStoreOfDriverFile(std::string fileName, PlatformGeneration generation) {
    UpperCaseInPlace(fileName);
    if (!IsSystemDriverFile(fileName)) return nullptr;
    if (generation >= kGenerationWin2000 && generation <= kGenerationServer2003) return "driver cabinets";
    if (generation == kGenerationVista) return "driver store";
    return nullptr;
}

std::string MediumPathOfDriverFile(win::Platform& platform, std::string fileName,
                                   PlatformGeneration generation) {
    UpperCaseInPlace(fileName);
    const GenerationProperties* properties = GetGenerationProperties(generation, platform.architecture);
    char current[256];
    std::string currentDirectory;
    if (properties == nullptr || !DirectoryFrom(platform.files.GetCurrentDirectoryA(sizeof(current), current),
                                                current, sizeof(current), &currentDirectory))
        return "";
    return currentDirectory + properties->sourceDirectory + fileName;
}

bool IsSystemDriverFile(const std::string& upperCaseName) {
    for (const char* part : {"UNIDRV", "STDNAMES", "TTFSUB", "UNIRES"})
        if (upperCaseName.find(part) != std::string::npos) return true;
    return false;
}

int CopyDriverFile(SetupContext& context, std::string& fileName, DestinationCode destination,
                   PlatformGeneration generation, bool prefix, InstallMessage& message) {
    UpperCaseInPlace(fileName);
    if (!IsPlainFileName(fileName)) {
        message.Set(CopyFailure(context, win::ERROR_INVALID_NAME, fileName), win::ERROR_INVALID_NAME);
        return 0;
    }
    if (IsSystemDriverFile(fileName)) {
        if (generation >= kGenerationWin2000 && generation <= kGenerationServer2003) {
            int result = CopyFromExtractedCabinets(context, fileName, message);
            if (result != kNotTaken) return result;
        } else if (generation == kGenerationVista) {
            return CopyFromDriverStore(context, fileName, message);
        }
    }
    return CopyFromMedium(context, fileName, destination, generation, prefix, message);
}

void RestoreSystemDriverFiles(SetupContext& context, PlatformGeneration generation, bool usesDdkDependentFiles,
                              InstallMessage& message) {
    win::Platform& platform = context.platform;
    if (generation == kGenerationWin98Me) {
        std::string iconLibrary = GetFixedDriverFile(kIconLibraryFile).name;
        CopyDriverFile(context, iconLibrary, kDestinationDriverDirectory, generation, false, message);
        std::string systemDirectory, windowsDirectory;
        if (!SystemDirectory(platform, win::MAX_PATH, &systemDirectory) ||
            !WindowsDirectory(platform, &windowsDirectory)) {
            message.Set(MessageFor(context.messageText, "IDS_ERR_ALLOCMEMORY"));
            return;
        }
        // Some Windows 98 installations lose the system's unidriver; its backup copy restores it.
        const std::string unidriverName = GetFixedDriverFile(kUnidriverFile).name;
        std::string target = systemDirectory + "\\" + unidriverName;
        std::string backup = windowsDirectory + "\\Sysbckup\\" + unidriverName;
        win::Files& files = platform.files;
        win::FileHandle existing(files, files.CreateFileA(target.c_str(), 0, win::FILE_SHARE_READ | win::FILE_SHARE_WRITE,
                                                          nullptr, win::OPEN_EXISTING, 0, nullptr));
        if (existing.Valid()) return;
        if (files.CopyFileA(backup.c_str(), target.c_str(), win::TRUE)) return;
        std::string unidriver = unidriverName;
        CopyDriverFile(context, unidriver, kDestinationDriverDirectory, generation, false, message);
        return;
    }
    if (generation >= kGenerationWin2000 && usesDdkDependentFiles) {
        for (FixedDriverFileId file : {kTrueTypeSubstitutionFile, kStandardNamesFile}) {
            std::string name = GetFixedDriverFile(file).name;
            CopyDriverFile(context, name, kDestinationDriverDirectory, generation, false, message);
        }
        // The resource DLL is optional for these models: its failure is not reported.
        InstallMessage ignored;
        std::string resources = GetFixedDriverFile(kUnidriverResourcesFile).name;
        CopyDriverFile(context, resources, kDestinationDriverDirectory, generation, false, ignored);
    }
}
