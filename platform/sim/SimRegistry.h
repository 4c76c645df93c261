// The simulated registry: hives of keys with typed values, reached through numbered handles.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/Registry.h"
#include "platform/sim/SimWindows.h"

namespace win::sim {

class SimRegistry : public Registry {
public:
    explicit SimRegistry(SimWindows& w) : w_(w) {}

    LONG RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM desired, PHKEY result) override;
    LONG RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD reserved, LPSTR keyClass, DWORD options,
                         REGSAM desired, LPSECURITY_ATTRIBUTES security, PHKEY result,
                         DWORD* disposition) override;
    LONG RegQueryValueExA(HKEY key, LPCSTR valueName, DWORD* reserved, DWORD* type, BYTE* data,
                          DWORD* dataSize) override;
    LONG RegSetValueExA(HKEY key, LPCSTR valueName, DWORD reserved, DWORD type, const BYTE* data,
                        DWORD dataSize) override;
    LONG RegEnumValueA(HKEY key, DWORD index, LPSTR valueName, DWORD* valueNameSize, DWORD* reserved,
                       DWORD* type, BYTE* data, DWORD* dataSize) override;
    LONG RegCloseKey(HKEY key) override;
    LONG RegDeleteKeyA(HKEY key, LPCSTR subKey) override;
    LONG RegDeleteValueA(HKEY key, LPCSTR valueName) override;

    // Test side: the machine's registry read and set directly, by root and path, without handles.
    void CreateKey(HKEY root, const std::string& path);
    void SetValue(HKEY root, const std::string& path, const std::string& name, DWORD type,
                  const std::string& bytes);
    void SetDwordValue(HKEY root, const std::string& path, const std::string& name, DWORD value);
    bool KeyExists(HKEY root, const std::string& path) const;
    bool GetValue(HKEY root, const std::string& path, const std::string& name, DWORD* type,
                  std::string* bytes) const;
    // True only for a REG_DWORD value of 4 bytes.
    bool GetDwordValue(HKEY root, const std::string& path, const std::string& name, DWORD* value) const;
    // The value names of a key in enumeration order; empty when the key does not exist.
    std::vector<std::string> ValueNames(HKEY root, const std::string& path) const;
    // Handles opened or created and not yet closed, so tests see that every path closes its keys.
    size_t OpenHandleCount() const;
    // Every key and value of every hive as text, for tests that show a run changed nothing.
    std::string Snapshot() const;

private:
    struct Value {
        std::string name;
        DWORD type;
        std::string bytes;
    };
    struct Key {
        std::string name;
        std::vector<std::shared_ptr<Key>> subkeys;  // in creation order
        std::vector<Value> values;                  // in creation order, as RegEnumValueA gives them
        bool deleted = false;
    };

    std::shared_ptr<Key> Hive(HKEY root) const;
    LONG Resolve(HKEY key, std::shared_ptr<Key>* out) const;
    static LONG SplitPath(LPCSTR path, std::vector<std::string>* parts);
    static std::shared_ptr<Key> Child(const Key& key, const std::string& name);
    static std::shared_ptr<Key> Walk(std::shared_ptr<Key> from, const std::vector<std::string>& parts);
    std::shared_ptr<Key> WalkOrCreate(std::shared_ptr<Key> from, const std::vector<std::string>& parts,
                                      bool* created);
    static Value* FindValue(Key& key, const std::string& name);
    static void Describe(const Key& key, const std::string& path, std::string* text);
    static void DescribeContents(const Key& key, const std::string& path, std::string* text);
    HKEY NewHandle(const std::shared_ptr<Key>& key);
    bool Fails(const char* operation, LONG* error);

    SimWindows& w_;
    mutable std::mutex mutex_;
    mutable std::map<uintptr_t, std::shared_ptr<Key>> hives_;
    std::map<uintptr_t, std::shared_ptr<Key>> handles_;
    uintptr_t nextHandle_ = 0x1000;
};

}  // namespace win::sim
