// Our own reader and writer of profile (INI) files, with the rules of Windows' profile functions.
#pragma once

#include <string>
#include <vector>

#include "platform/Win32Types.h"

namespace win::sim {

// One parsed profile file. Lines are kept in file order; later issues of the same section merge in.
class ProfileDocument {
public:
    explicit ProfileDocument(const std::string& bytes);

    // Looks up like GetPrivateProfileStringA on an existing file: a null section lists the section
    // names, a null key lists the key names of the section.
    DWORD GetString(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer, DWORD size) const;

    struct Entry {
        std::string key;
        std::string value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };
    // Sections in file order; keys that stand before the first header are in none of them, as on
    // Windows, where they cannot be found.
    const std::vector<Section>& Sections() const { return sections_; }

private:
    const Section* Find(LPCSTR section) const;
    std::vector<Section> sections_;
};

// GetPrivateProfileStringA's answer when the file does not exist or cannot be read.
DWORD CopyProfileDefault(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer, DWORD size);

// The file's bytes after WriteProfileStringA(section, key, value): the key's line is replaced in place
// or added at the end of its section, a new section goes at the end of the file; a null key removes
// the section, a null value the key. Every other line stays as it was; lines end in CR LF.
std::string EditProfileText(const std::string& bytes, LPCSTR section, LPCSTR key, LPCSTR value);

// Section and key names compare without regard to ASCII case; bytes of double-byte characters of
// code page 936 are compared as they are, so a trail byte that happens to be a letter is not folded.
bool ProfileNamesEqual(const std::string& a, const std::string& b);

}  // namespace win::sim
