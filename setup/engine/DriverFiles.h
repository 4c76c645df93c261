// Putting driver files in place: from the medium, the system's cabinets or Vista's driver store.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Platform.h"
#include "setup/engine/DriverStagingState.h"
#include "setup/engine/InstallMessage.h"
#include "setup/environment/PlatformGeneration.h"
#include "setup/environment/SetupContext.h"
#include "shared/FileNames.h"

// Which system directory a driver file goes to.
typedef int32_t DestinationCode;
constexpr DestinationCode kDestinationDriverDirectory = 66000;
constexpr DestinationCode kDestinationProcessorDirectory = 66001;
constexpr DestinationCode kDestinationSystemDirectory = 66002;
constexpr DestinationCode kDestinationInfDirectory = 100;            // Windows directory + "\inf"
constexpr DestinationCode kDestinationDriverVersion3Directory = 999;  // driver directory + "\3"

// Results of CopyDriverFile besides 0 (failed with a message, or nothing to do with none).
constexpr int kDriverFileCopied = 1;
constexpr int kDriverFileInUse = 32;        // ERROR_SHARING_VIOLATION, no message
constexpr int kDriverFileAccessDenied = 5;  // ERROR_ACCESS_DENIED, no message

// Copies the file from the medium's directory of the generation, or for Windows' own unidriver files
// from the system's stores, into the destination directory. The name is upper-cased in place; with
// prefix the copy is named "n" + name. Only a plain file name is accepted.
int CopyDriverFile(SetupContext& context, std::string& fileName, DestinationCode destination,
                   PlatformGeneration generation, bool prefix, InstallMessage& message);

// The directory a destination code names, as the copy asks Windows for it; empty when Windows does not say.
std::string DestinationDirectoryOf(win::Platform& platform, DestinationCode destination);

// Where CopyDriverFile takes a file from on the generation: for Windows' own unidriver files on 2000 and
// later the system's store it tries first ("driver cabinets", "driver store"), else null; and the file's
// path on the medium, upper-cased as the copy does; empty when the current directory cannot be read.
const char* SystemStoreOfDriverFile(std::string fileName, PlatformGeneration generation);
std::string MediumPathOfDriverFile(win::Platform& platform, std::string fileName,
                                   PlatformGeneration generation);

// Whether the upper-case name is one of Windows' own unidriver files.
bool IsSystemDriverFile(const std::string& upperCaseName);

// Lists the cabinets of "\Driver Cache\i386\" and extracts the unidriver files of each into the
// temporary directory; true when the last cabinet was iterated without error.
bool ExtractSystemDriverFiles(win::Platform& platform, DriverStagingState& state);

// The system-file fix-ups after a model's driver files were copied.
void RestoreSystemDriverFiles(SetupContext& context, PlatformGeneration generation, bool usesDdkDependentFiles,
                              InstallMessage& message);

// The "FileVersion" text of the file's first translation, or "0.0.0.0".
std::string GetFileVersionString(win::Platform& platform, const std::string& path);

// 1 when the medium's USB bulk driver is newer (by major number) than the installed one, -1 when none
// is installed, else 0.
int CompareUsbDriverVersion(win::Platform& platform);
