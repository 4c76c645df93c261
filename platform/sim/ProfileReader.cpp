// Parsing, lookup and editing of profile files the way Windows' profile functions do it.
#include "platform/sim/ProfileReader.h"

#include <cstring>

namespace win::sim {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string Trim(const std::string& s) {
    size_t begin = 0, end = s.size();
    while (begin < end && IsBlank(s[begin])) ++begin;
    while (end > begin && IsBlank(s[end - 1])) --end;
    return s.substr(begin, end - begin);
}

std::vector<std::string> SplitLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < bytes.size(); ++i) {
        char c = bytes[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        } else {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

// Copies text cut to size - 1 bytes and zero-ends it; returns the bytes copied.
DWORD CopyCut(const std::string& text, LPSTR buffer, DWORD size) {
    if (size == 0) return 0;
    size_t n = text.size() < size - 1 ? text.size() : size - 1;
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return static_cast<DWORD>(n);
}

// Copies a list of names, each zero-ended, with a second zero at the end. A list that does not fit is
// cut so that the buffer ends in two zero bytes, and size - 2 is returned.
DWORD CopyNameList(const std::vector<std::string>& names, LPSTR buffer, DWORD size) {
    if (size == 0) return 0;
    std::string list;
    for (const std::string& name : names) {
        list += name;
        list += '\0';
    }
    if (list.empty()) list += '\0';
    list += '\0';
    if (list.size() <= size) {
        std::memcpy(buffer, list.data(), list.size());
        return static_cast<DWORD>(names.empty() ? 0 : list.size() - 1);
    }
    if (size < 2) {
        buffer[0] = '\0';
        return 0;
    }
    std::memcpy(buffer, list.data(), size - 2);
    buffer[size - 2] = '\0';
    buffer[size - 1] = '\0';
    return size - 2;
}

// The name inside a section header line, trimmed.
bool HeaderName(const std::string& raw, std::string* name) {
    std::string line = Trim(raw);
    if (line.empty() || line[0] != '[') return false;
    size_t close = line.rfind(']');
    if (close == std::string::npos) return false;
    *name = Trim(line.substr(1, close - 1));
    return true;
}

// The key of a "key=value" line, trimmed; false for a line without "=".
bool KeyName(const std::string& raw, std::string* key) {
    size_t eq = raw.find('=');
    if (eq == std::string::npos) return false;
    *key = Trim(raw.substr(0, eq));
    return true;
}

}  // namespace

std::string EditProfileText(const std::string& bytes, LPCSTR section, LPCSTR key, LPCSTR value) {
    std::vector<std::string> lines = SplitLines(bytes);
    const size_t none = std::string::npos;
    size_t begin = none, end = lines.size();
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string name;
        if (!HeaderName(lines[i], &name)) continue;
        if (begin != none) {
            end = i;
            break;
        }
        if (ProfileNamesEqual(name, section)) begin = i;
    }
    if (key == nullptr) {
        if (begin != none)
            lines.erase(lines.begin() + static_cast<long>(begin), lines.begin() + static_cast<long>(end));
    } else if (begin == none) {
        if (value != nullptr) {
            lines.push_back(std::string("[") + section + "]");
            lines.push_back(std::string(key) + "=" + value);
        }
    } else {
        size_t found = none, lastContent = begin;
        for (size_t i = begin + 1; i < end; ++i) {
            std::string name;
            if (!Trim(lines[i]).empty()) lastContent = i;
            if (found == none && KeyName(lines[i], &name) && ProfileNamesEqual(name, key)) found = i;
        }
        if (found != none && value == nullptr) {
            lines.erase(lines.begin() + static_cast<long>(found));
        } else if (found != none) {
            std::string name;
            KeyName(lines[found], &name);
            lines[found] = name + "=" + value;
        } else if (value != nullptr) {
            lines.insert(lines.begin() + static_cast<long>(lastContent + 1), std::string(key) + "=" + value);
        }
    }
    std::string out;
    for (const std::string& line : lines) out += line + "\r\n";
    return out;
}

bool ProfileNamesEqual(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (IsLeadByte(static_cast<unsigned char>(a[i])) && i + 1 < a.size()) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
            ++i;
            continue;
        }
        if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    }
    return true;
}

ProfileDocument::ProfileDocument(const std::string& bytes) {
    Section* current = nullptr;
    for (const std::string& raw : SplitLines(bytes)) {
        std::string line = Trim(raw);
        if (!line.empty() && line[0] == '[') {
            size_t close = line.rfind(']');
            if (close != std::string::npos) {
                sections_.push_back(Section{Trim(line.substr(1, close - 1)), {}});
                current = &sections_.back();
                continue;
            }
        }
        size_t eq = line.find('=');
        if (eq == std::string::npos || current == nullptr) continue;
        std::string value = Trim(line.substr(eq + 1));
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        current->entries.push_back(Entry{Trim(line.substr(0, eq)), value});
    }
}

const ProfileDocument::Section* ProfileDocument::Find(LPCSTR section) const {
    for (const Section& s : sections_)
        if (ProfileNamesEqual(s.name, section)) return &s;
    return nullptr;
}

DWORD ProfileDocument::GetString(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer,
                                 DWORD size) const {
    if (buffer == nullptr || size == 0) return 0;
    if (section == nullptr) {
        std::vector<std::string> names;
        for (const Section& s : sections_) names.push_back(s.name);
        return CopyNameList(names, buffer, size);
    }
    const Section* found = Find(section);
    if (key == nullptr) {
        std::vector<std::string> names;
        if (found != nullptr)
            for (const Entry& e : found->entries)
                if (!e.key.empty() && e.key[0] != ';') names.push_back(e.key);
        return CopyNameList(names, buffer, size);
    }
    if (found != nullptr)
        for (const Entry& e : found->entries)
            if (ProfileNamesEqual(e.key, key)) return CopyCut(e.value, buffer, size);
    return CopyProfileDefault(section, key, defaultValue, buffer, size);
}

DWORD CopyProfileDefault(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer, DWORD size) {
    if (buffer == nullptr || size == 0) return 0;
    if (section == nullptr || key == nullptr) return CopyNameList({}, buffer, size);
    std::string text = defaultValue != nullptr ? defaultValue : "";
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return CopyCut(text, buffer, size);
}

}  // namespace win::sim
