// Finding a medium's files on the host without regard to case, and reading its INI files.
#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/sim/ProfileReader.h"

namespace medium {

// ASCII letters folded to lower case; bytes of double-byte characters stay as they are.
std::string FoldCase(const std::string& text);

// The host path of a medium path ("DRVCONFIG\setup.ini"), each component matched without regard to
// case as Windows does; empty when some component is not there.
std::string FindOnMedium(const std::string& root, const std::string& mediumPath);

// The names in a host folder, folded, for lookups without regard to case; empty when it is missing.
std::set<std::string> FoldedNames(const std::string& hostFolder);

// Every *.ini file below the root, as medium paths with backslashes, sorted.
std::vector<std::string> IniFilesBelow(const std::string& root);

bool ReadHostFile(const std::string& hostPath, std::string* bytes);

// One INI file of the medium as the programs' profile reader sees it.
class IniFile {
public:
    IniFile(const std::string& root, const std::string& mediumPath);

    const std::string& Path() const { return path_; }
    bool Present() const { return document_.has_value(); }
    const std::string& Bytes() const { return bytes_; }
    const std::vector<win::sim::ProfileDocument::Section>& Sections() const;
    const win::sim::ProfileDocument::Section* FindSection(const std::string& name) const;
    bool HasKey(const std::string& section, const std::string& key) const;
    // The value as GetPrivateProfileStringA returns it with a buffer that holds all of it.
    std::string Value(const std::string& section, const std::string& key,
                      const char* defaultValue = "0") const;

private:
    std::string path_;
    std::string bytes_;
    std::optional<win::sim::ProfileDocument> document_;
};

}  // namespace medium
