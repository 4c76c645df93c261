// The simulated run-time libraries, and the winspool entries that are looked up at run time.
#include <cctype>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <type_traits>

#include "platform/sim/SimLibrary.h"

namespace win::sim {

namespace {

std::mutex slotsLock;
SimLibrary* slots[SimLibrary::kSlots] = {};

// A module handle is derived from the library's name, so it stays the same across loads.
HMODULE HandleOf(const std::string& key) { return reinterpret_cast<HMODULE>(std::hash<std::string>()(key) | 1); }

template <int K>
struct SetDefaultPrinterEntry {
    static BOOL Call(LPCSTR printerName) { return SimLibrary::InSlot(K)->spooler()->SetDefaultPrinterA(printerName); }
};

template <int K>
struct DeletePrinterDriverExEntry {
    static BOOL Call(LPSTR server, LPSTR environment, LPSTR driverName, DWORD deleteFlag, DWORD versionFlag) {
        return SimLibrary::InSlot(K)->spooler()->DeletePrinterDriverExA(server, environment, driverName, deleteFlag,
                                                                         versionFlag);
    }
};

// The logic casts the looked-up entries back to these types before calling them.
static_assert(std::is_same_v<decltype(&SetDefaultPrinterEntry<0>::Call), PFN_SetDefaultPrinterA>);
static_assert(std::is_same_v<decltype(&DeletePrinterDriverExEntry<0>::Call), PFN_DeletePrinterDriverExA>);

}  // namespace

SimLibrary::SimLibrary(SimWindows& w, SimSpooler* spooler) : w_(w), spooler_(spooler) {
    {
        std::lock_guard<std::mutex> hold(slotsLock);
        for (int i = 0; i < kSlots && slot_ < 0; ++i) {
            if (slots[i] == nullptr) {
                slots[i] = this;
                slot_ = i;
            }
        }
    }
    if (slot_ < 0) throw std::runtime_error("too many simulated machines alive at once");
    if (spooler_ != nullptr) {
        RegisterEntry("winspool.drv", "SetDefaultPrinterA", ForThisSlot<SetDefaultPrinterEntry>());
        RegisterEntry("winspool.drv", "DeletePrinterDriverExA", ForThisSlot<DeletePrinterDriverExEntry>());
    }
}

SimLibrary::~SimLibrary() {
    std::lock_guard<std::mutex> hold(slotsLock);
    slots[slot_] = nullptr;
}

SimLibrary* SimLibrary::InSlot(int slot) {
    std::lock_guard<std::mutex> hold(slotsLock);
    return slots[slot];
}

void* SimLibrary::Context(const std::string& name) const {
    auto found = contexts_.find(name);
    return found == contexts_.end() ? nullptr : found->second;
}

std::string SimLibrary::Key(const std::string& library) {
    // Windows looks a library up by its file name; without an extension it means ".dll".
    std::string key = library.substr(library.find_last_of("\\/") == std::string::npos
                                         ? 0
                                         : library.find_last_of("\\/") + 1);
    for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (key.find('.') == std::string::npos) key += ".dll";
    return key;
}

void SimLibrary::RegisterEntry(const std::string& library, const std::string& entry, FARPROC function) {
    modules_[Key(library)].entries[entry] = function;
}

void SimLibrary::RemoveEntry(const std::string& library, const std::string& entry) {
    auto found = modules_.find(Key(library));
    if (found != modules_.end()) found->second.entries.erase(entry);
}

void SimLibrary::RemoveLibrary(const std::string& library) { modules_.erase(Key(library)); }

int SimLibrary::LoadedCount() const {
    int count = 0;
    for (const auto& module : modules_) count += module.second.loads;
    return count;
}

SimLibrary::Module* SimLibrary::FindLoaded(HMODULE module, std::string* name) {
    for (auto& entry : modules_) {
        if (HandleOf(entry.first) == module && entry.second.loads > 0) {
            if (name != nullptr) *name = entry.first;
            return &entry.second;
        }
    }
    return nullptr;
}

HMODULE SimLibrary::LoadLibraryA(LPCSTR fileName) {
    calls.push_back("LoadLibraryA " + std::string(fileName != nullptr ? fileName : ""));
    DWORD error;
    if (w_.TakeFault("LoadLibraryA", &error)) {
        SetSimLastError(error);
        return nullptr;
    }
    if (fileName == nullptr || fileName[0] == '\0') {
        SetSimLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    std::string key = Key(fileName);
    auto found = modules_.find(key);
    if (found == modules_.end()) {
        SetSimLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    ++found->second.loads;
    return HandleOf(key);
}

FARPROC SimLibrary::GetProcAddress(HMODULE module, LPCSTR procName) {
    // An ordinal is a small number in place of the name; the simulated libraries export none.
    bool byOrdinal = reinterpret_cast<uintptr_t>(procName) < 0x10000;
    calls.push_back("GetProcAddress " + std::string(byOrdinal ? "#" : procName));
    DWORD error;
    if (w_.TakeFault("GetProcAddress", &error)) {
        SetSimLastError(error);
        return nullptr;
    }
    Module* loaded = FindLoaded(module, nullptr);
    if (loaded == nullptr) {
        SetSimLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    auto found = byOrdinal ? loaded->entries.end() : loaded->entries.find(procName);
    if (found == loaded->entries.end()) {
        SetSimLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    return found->second;
}

BOOL SimLibrary::FreeLibrary(HMODULE module) {
    std::string name;
    Module* loaded = FindLoaded(module, &name);
    calls.push_back("FreeLibrary " + name);
    if (loaded == nullptr) {
        SetSimLastError(ERROR_MOD_NOT_FOUND);
        return FALSE;
    }
    --loaded->loads;
    return TRUE;
}

}  // namespace win::sim
