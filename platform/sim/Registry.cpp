// The simulated registry, with the results and error codes that Windows NT gives.
#include <cstring>

#include "platform/sim/ProfileReader.h"
#include "platform/sim/SimRegistry.h"

namespace win::sim {

namespace {

bool IsPredefined(HKEY key) {
    uintptr_t value = reinterpret_cast<uintptr_t>(key);
    return value >= 0x80000000u && value <= 0x80000006u;
}

std::string NameOf(LPCSTR name) { return name != nullptr ? name : ""; }

}  // namespace

bool SimRegistry::Fails(const char* operation, LONG* error) {
    DWORD injected;
    if (!w_.TakeFault(operation, &injected)) return false;
    *error = static_cast<LONG>(injected);
    return true;
}

std::shared_ptr<SimRegistry::Key> SimRegistry::Hive(HKEY root) const {
    std::shared_ptr<Key>& hive = hives_[reinterpret_cast<uintptr_t>(root)];
    if (!hive) hive = std::make_shared<Key>();
    return hive;
}

LONG SimRegistry::Resolve(HKEY key, std::shared_ptr<Key>* out) const {
    if (IsPredefined(key)) {
        *out = Hive(key);
        return ERROR_SUCCESS;
    }
    auto found = handles_.find(reinterpret_cast<uintptr_t>(key));
    if (found == handles_.end()) return ERROR_INVALID_HANDLE;
    // A handle outlives the deletion of its key, but no longer reaches anything.
    if (found->second->deleted) return ERROR_KEY_DELETED;
    *out = found->second;
    return ERROR_SUCCESS;
}

LONG SimRegistry::SplitPath(LPCSTR path, std::vector<std::string>* parts) {
    parts->clear();
    std::string text = NameOf(path);
    if (!text.empty() && text[0] == '\\') return ERROR_BAD_PATHNAME;
    std::string part;
    for (char c : text) {
        if (c == '\\') {
            if (!part.empty()) parts->push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty()) parts->push_back(part);
    return ERROR_SUCCESS;
}

std::shared_ptr<SimRegistry::Key> SimRegistry::Child(const Key& key, const std::string& name) {
    for (const auto& sub : key.subkeys)
        if (ProfileNamesEqual(sub->name, name)) return sub;
    return nullptr;
}

std::shared_ptr<SimRegistry::Key> SimRegistry::Walk(std::shared_ptr<Key> from,
                                                    const std::vector<std::string>& parts) {
    for (const std::string& part : parts) {
        from = Child(*from, part);
        if (!from) return nullptr;
    }
    return from;
}

std::shared_ptr<SimRegistry::Key> SimRegistry::WalkOrCreate(std::shared_ptr<Key> from,
                                                            const std::vector<std::string>& parts,
                                                            bool* created) {
    *created = false;
    for (const std::string& part : parts) {
        std::shared_ptr<Key> next = Child(*from, part);
        if (!next) {
            next = std::make_shared<Key>();
            next->name = part;
            from->subkeys.push_back(next);
            *created = true;
        }
        from = next;
    }
    return from;
}

SimRegistry::Value* SimRegistry::FindValue(Key& key, const std::string& name) {
    for (Value& value : key.values)
        if (ProfileNamesEqual(value.name, name)) return &value;
    return nullptr;
}

HKEY SimRegistry::NewHandle(const std::shared_ptr<Key>& key) {
    uintptr_t handle = nextHandle_;
    nextHandle_ += 4;
    handles_[handle] = key;
    return reinterpret_cast<HKEY>(handle);
}

LONG SimRegistry::RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD, REGSAM, PHKEY result) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (result == nullptr) return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    LONG error;
    if (Fails("RegOpenKeyExA", &error)) return error;
    std::shared_ptr<Key> from;
    if ((error = Resolve(key, &from)) != ERROR_SUCCESS) return error;
    std::vector<std::string> parts;
    if ((error = SplitPath(subKey, &parts)) != ERROR_SUCCESS) return error;
    std::shared_ptr<Key> target = Walk(from, parts);
    if (!target) return ERROR_FILE_NOT_FOUND;
    *result = NewHandle(target);
    return ERROR_SUCCESS;
}

LONG SimRegistry::RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD, LPSTR, DWORD, REGSAM, LPSECURITY_ATTRIBUTES,
                                  PHKEY result, DWORD* disposition) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (result == nullptr) return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    LONG error;
    if (Fails("RegCreateKeyExA", &error)) return error;
    std::shared_ptr<Key> from;
    if ((error = Resolve(key, &from)) != ERROR_SUCCESS) return error;
    std::vector<std::string> parts;
    if ((error = SplitPath(subKey, &parts)) != ERROR_SUCCESS) return error;
    bool created = false;
    std::shared_ptr<Key> target = WalkOrCreate(from, parts, &created);
    if (disposition != nullptr) *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    *result = NewHandle(target);
    return ERROR_SUCCESS;
}

LONG SimRegistry::RegQueryValueExA(HKEY key, LPCSTR valueName, DWORD*, DWORD* type, BYTE* data,
                                   DWORD* dataSize) {
    std::lock_guard<std::mutex> lock(mutex_);
    LONG error;
    if (Fails("RegQueryValueExA", &error)) return error;
    std::shared_ptr<Key> target;
    if ((error = Resolve(key, &target)) != ERROR_SUCCESS) return error;
    if (data != nullptr && dataSize == nullptr) return ERROR_INVALID_PARAMETER;
    const Value* value = FindValue(*target, NameOf(valueName));
    if (value == nullptr) return ERROR_FILE_NOT_FOUND;
    if (type != nullptr) *type = value->type;
    DWORD needed = static_cast<DWORD>(value->bytes.size());
    if (data != nullptr && *dataSize < needed) {
        *dataSize = needed;
        return ERROR_MORE_DATA;
    }
    if (data != nullptr) std::memcpy(data, value->bytes.data(), needed);
    if (dataSize != nullptr) *dataSize = needed;
    return ERROR_SUCCESS;
}

LONG SimRegistry::RegSetValueExA(HKEY key, LPCSTR valueName, DWORD, DWORD type, const BYTE* data,
                                 DWORD dataSize) {
    std::lock_guard<std::mutex> lock(mutex_);
    LONG error;
    if (Fails("RegSetValueExA", &error)) return error;
    std::shared_ptr<Key> target;
    if ((error = Resolve(key, &target)) != ERROR_SUCCESS) return error;
    std::string bytes = data != nullptr ? std::string(reinterpret_cast<const char*>(data), dataSize) : "";
    // Rewriting a value keeps its place in the enumeration.
    if (Value* existing = FindValue(*target, NameOf(valueName))) {
        existing->type = type;
        existing->bytes = bytes;
    } else {
        target->values.push_back(Value{NameOf(valueName), type, bytes});
    }
    return ERROR_SUCCESS;
}

LONG SimRegistry::RegEnumValueA(HKEY key, DWORD index, LPSTR valueName, DWORD* valueNameSize, DWORD*,
                                DWORD* type, BYTE* data, DWORD* dataSize) {
    std::lock_guard<std::mutex> lock(mutex_);
    LONG error;
    if (Fails("RegEnumValueA", &error)) return error;
    std::shared_ptr<Key> target;
    if ((error = Resolve(key, &target)) != ERROR_SUCCESS) return error;
    if (valueName == nullptr || valueNameSize == nullptr) return ERROR_INVALID_PARAMETER;
    if (data != nullptr && dataSize == nullptr) return ERROR_INVALID_PARAMETER;
    if (index >= target->values.size()) return ERROR_NO_MORE_ITEMS;
    const Value& value = target->values[index];
    DWORD needed = static_cast<DWORD>(value.bytes.size());
    if (type != nullptr) *type = value.type;
    if (dataSize != nullptr && (data == nullptr || *dataSize >= needed)) *dataSize = needed;
    // NT leaves the name buffer and its size alone when the name does not fit with its zero.
    if (value.name.size() + 1 > *valueNameSize) {
        if (dataSize != nullptr) *dataSize = needed;
        return ERROR_MORE_DATA;
    }
    std::memcpy(valueName, value.name.c_str(), value.name.size() + 1);
    *valueNameSize = static_cast<DWORD>(value.name.size());
    if (data != nullptr) {
        if (*dataSize < needed) {
            *dataSize = needed;
            return ERROR_MORE_DATA;
        }
        std::memcpy(data, value.bytes.data(), needed);
    }
    return ERROR_SUCCESS;
}

LONG SimRegistry::RegCloseKey(HKEY key) {
    std::lock_guard<std::mutex> lock(mutex_);
    LONG error;
    if (Fails("RegCloseKey", &error)) return error;
    if (IsPredefined(key)) return ERROR_SUCCESS;
    if (handles_.erase(reinterpret_cast<uintptr_t>(key)) == 0) return ERROR_INVALID_HANDLE;
    return ERROR_SUCCESS;
}

LONG SimRegistry::RegDeleteKeyA(HKEY key, LPCSTR subKey) {
    std::lock_guard<std::mutex> lock(mutex_);
    LONG error;
    if (Fails("RegDeleteKeyA", &error)) return error;
    if (subKey == nullptr) return ERROR_INVALID_PARAMETER;
    std::shared_ptr<Key> from;
    if ((error = Resolve(key, &from)) != ERROR_SUCCESS) return error;
    std::vector<std::string> parts;
    if ((error = SplitPath(subKey, &parts)) != ERROR_SUCCESS) return error;
    // A hive itself cannot be deleted.
    if (parts.empty()) return ERROR_ACCESS_DENIED;
    std::vector<std::string> parentParts(parts.begin(), parts.end() - 1);
    std::shared_ptr<Key> parent = Walk(from, parentParts);
    std::shared_ptr<Key> target = parent ? Child(*parent, parts.back()) : nullptr;
    if (!target) return ERROR_FILE_NOT_FOUND;
    // NT deletes only leaf keys.
    if (!target->subkeys.empty()) return ERROR_ACCESS_DENIED;
    target->deleted = true;
    for (auto it = parent->subkeys.begin(); it != parent->subkeys.end(); ++it) {
        if (*it == target) {
            parent->subkeys.erase(it);
            break;
        }
    }
    return ERROR_SUCCESS;
}

LONG SimRegistry::RegDeleteValueA(HKEY key, LPCSTR valueName) {
    std::lock_guard<std::mutex> lock(mutex_);
    LONG error;
    if (Fails("RegDeleteValueA", &error)) return error;
    std::shared_ptr<Key> target;
    if ((error = Resolve(key, &target)) != ERROR_SUCCESS) return error;
    for (auto it = target->values.begin(); it != target->values.end(); ++it) {
        if (ProfileNamesEqual(it->name, NameOf(valueName))) {
            target->values.erase(it);
            return ERROR_SUCCESS;
        }
    }
    return ERROR_FILE_NOT_FOUND;
}

void SimRegistry::CreateKey(HKEY root, const std::string& path) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<std::string> parts;
    SplitPath(path.c_str(), &parts);
    bool created;
    WalkOrCreate(Hive(root), parts, &created);
}

void SimRegistry::SetValue(HKEY root, const std::string& path, const std::string& name, DWORD type,
                           const std::string& bytes) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<std::string> parts;
    SplitPath(path.c_str(), &parts);
    bool created;
    std::shared_ptr<Key> key = WalkOrCreate(Hive(root), parts, &created);
    if (Value* existing = FindValue(*key, name)) {
        existing->type = type;
        existing->bytes = bytes;
    } else {
        key->values.push_back(Value{name, type, bytes});
    }
}

void SimRegistry::SetDwordValue(HKEY root, const std::string& path, const std::string& name, DWORD value) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((value >> (8 * i)) & 0xff);
    SetValue(root, path, name, REG_DWORD, bytes);
}

bool SimRegistry::KeyExists(HKEY root, const std::string& path) const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<std::string> parts;
    SplitPath(path.c_str(), &parts);
    return Walk(Hive(root), parts) != nullptr;
}

bool SimRegistry::GetValue(HKEY root, const std::string& path, const std::string& name, DWORD* type,
                           std::string* bytes) const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<std::string> parts;
    SplitPath(path.c_str(), &parts);
    std::shared_ptr<Key> key = Walk(Hive(root), parts);
    if (!key) return false;
    const Value* value = FindValue(*key, name);
    if (value == nullptr) return false;
    if (type != nullptr) *type = value->type;
    if (bytes != nullptr) *bytes = value->bytes;
    return true;
}

bool SimRegistry::GetDwordValue(HKEY root, const std::string& path, const std::string& name,
                                DWORD* value) const {
    DWORD type = REG_NONE;
    std::string bytes;
    if (!GetValue(root, path, name, &type, &bytes) || type != REG_DWORD || bytes.size() != 4) return false;
    *value = 0;
    for (int i = 3; i >= 0; --i) *value = (*value << 8) | static_cast<unsigned char>(bytes[i]);
    return true;
}

std::vector<std::string> SimRegistry::ValueNames(HKEY root, const std::string& path) const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<std::string> parts;
    SplitPath(path.c_str(), &parts);
    std::vector<std::string> names;
    if (std::shared_ptr<Key> key = Walk(Hive(root), parts))
        for (const Value& value : key->values) names.push_back(value.name);
    return names;
}

void SimRegistry::Describe(const Key& key, const std::string& path, std::string* text) {
    if (key.deleted) return;
    *text += path + "\n";
    DescribeContents(key, path, text);
}

// A hive shows its values and keys, never itself: looking at one creates it.
void SimRegistry::DescribeContents(const Key& key, const std::string& path, std::string* text) {
    for (const Value& value : key.values)
        *text += path + " | " + value.name + " | " + std::to_string(value.type) + " | " + value.bytes + "\n";
    for (const auto& subkey : key.subkeys) Describe(*subkey, path + "\\" + subkey->name, text);
}

std::string SimRegistry::Snapshot() const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::string text;
    for (const auto& hive : hives_) DescribeContents(*hive.second, std::to_string(hive.first), &text);
    return text;
}

size_t SimRegistry::OpenHandleCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return handles_.size();
}

}  // namespace win::sim
