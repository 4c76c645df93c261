// Host lookups of medium paths without regard to case, and INI files read with our profile reader.
#include "tools/medium-check/MediumFiles.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/sim/SimWindows.h"

namespace medium {

namespace fs = std::filesystem;

namespace {

bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

}  // namespace

std::string FoldCase(const std::string& text) {
    std::string folded = text;
    for (size_t i = 0; i < folded.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(folded[i]);
        if (IsLeadByte(c)) {
            ++i;
        } else if (c >= 'A' && c <= 'Z') {
            folded[i] = static_cast<char>(c - 'A' + 'a');
        }
    }
    return folded;
}

std::string FindOnMedium(const std::string& root, const std::string& mediumPath) {
    fs::path current = root;
    for (const std::string& part : win::sim::SplitPathComponents(mediumPath)) {
        std::string wanted = FoldCase(part);
        std::error_code error;
        bool found = false;
        // Sorted, so that of two names differing only in case the same one is always taken.
        std::vector<fs::path> entries;
        for (const auto& entry : fs::directory_iterator(current, error)) entries.push_back(entry.path());
        std::sort(entries.begin(), entries.end());
        for (const fs::path& entry : entries) {
            if (FoldCase(entry.filename().string()) == wanted) {
                current = entry;
                found = true;
                break;
            }
        }
        if (!found) return std::string();
    }
    return current.string();
}

std::set<std::string> FoldedNames(const std::string& hostFolder) {
    std::set<std::string> names;
    std::error_code error;
    if (hostFolder.empty()) return names;
    for (const auto& entry : fs::directory_iterator(hostFolder, error)) {
        names.insert(FoldCase(entry.path().filename().string()));
    }
    return names;
}

std::vector<std::string> IniFilesBelow(const std::string& root) {
    std::vector<std::string> files;
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(root, error);
         !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
        if (!it->is_regular_file(error)) continue;
        if (FoldCase(it->path().extension().string()) != ".ini") continue;
        std::string relative = fs::relative(it->path(), root, error).generic_string();
        std::replace(relative.begin(), relative.end(), '/', '\\');
        files.push_back(relative);
    }
    std::sort(files.begin(), files.end());
    return files;
}

bool ReadHostFile(const std::string& hostPath, std::string* bytes) {
    std::error_code error;
    if (hostPath.empty() || !fs::is_regular_file(hostPath, error)) return false;
    std::ifstream in(hostPath, std::ios::binary);
    if (!in) return false;
    std::ostringstream content;
    content << in.rdbuf();
    *bytes = content.str();
    return true;
}

IniFile::IniFile(const std::string& root, const std::string& mediumPath) : path_(mediumPath) {
    if (ReadHostFile(FindOnMedium(root, mediumPath), &bytes_)) document_.emplace(bytes_);
}

const std::vector<win::sim::ProfileDocument::Section>& IniFile::Sections() const {
    static const std::vector<win::sim::ProfileDocument::Section> kNone;
    return document_ ? document_->Sections() : kNone;
}

const win::sim::ProfileDocument::Section* IniFile::FindSection(const std::string& name) const {
    for (const auto& section : Sections()) {
        if (win::sim::ProfileNamesEqual(section.name, name)) return &section;
    }
    return nullptr;
}

bool IniFile::HasKey(const std::string& section, const std::string& key) const {
    const auto* found = FindSection(section);
    if (!found) return false;
    for (const auto& entry : found->entries) {
        if (win::sim::ProfileNamesEqual(entry.key, key)) return true;
    }
    return false;
}

std::string IniFile::Value(const std::string& section, const std::string& key,
                           const char* defaultValue) const {
    // No value is longer than the file that holds it.
    std::vector<char> buffer(bytes_.size() + std::string(defaultValue).size() + 2, '\0');
    win::DWORD size = static_cast<win::DWORD>(buffer.size());
    win::DWORD length =
        document_
            ? document_->GetString(section.c_str(), key.c_str(), defaultValue, buffer.data(), size)
            : win::sim::CopyProfileDefault(section.c_str(), key.c_str(), defaultValue, buffer.data(), size);
    return std::string(buffer.data(), length);
}

}  // namespace medium
