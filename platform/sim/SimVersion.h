// The simulated version resources: metadata kept per file, read back as a version block.
#pragma once

#include <map>
#include <string>

#include "platform/Version.h"
#include "platform/sim/SimWindows.h"

namespace win::sim {

class SimVersion : public Version {
public:
    explicit SimVersion(SimWindows& w) : w_(w) {}
    DWORD GetFileVersionInfoSizeA(LPCSTR fileName, DWORD* handle) override;
    BOOL GetFileVersionInfoA(LPCSTR fileName, DWORD handle, DWORD size, void* data) override;
    BOOL VerQueryValueA(const void* block, LPCSTR subBlock, void** buffer, UINT* length) override;

    // Gives the file a version resource with one translation and its "FileVersion" text; the file
    // itself must exist for the resource to be read.
    void SetFileVersion(const std::string& windowsPath, const std::string& fileVersion, WORD language = 0x0409,
                        WORD codePage = 0x04b0);
    // A further text of the file's string table, such as "ProductVersion".
    void SetVersionString(const std::string& windowsPath, const std::string& name, const std::string& value);

private:
    struct Resource {
        WORD language = 0x0409;
        WORD codePage = 0x04b0;
        std::map<std::string, std::string> strings;
    };
    std::string Block(const Resource& resource) const;
    DWORD Lookup(const char* fileName, const Resource** resource);

    SimWindows& w_;
    std::map<std::string, Resource> resources_;
};

}  // namespace win::sim
