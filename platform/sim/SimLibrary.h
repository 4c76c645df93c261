// The simulated run-time libraries: a table of library name -> entry name -> function that tests fill.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/Library.h"
#include "platform/sim/SimSpooler.h"
#include "platform/sim/SimWindows.h"

namespace win::sim {

class SimLibrary : public Library {
public:
    // With a spooler, "winspool.drv" offers "SetDefaultPrinterA" and "DeletePrinterDriverExA" bound to it.
    explicit SimLibrary(SimWindows& w, SimSpooler* spooler = nullptr);
    ~SimLibrary() override;
    SimLibrary(const SimLibrary&) = delete;
    SimLibrary& operator=(const SimLibrary&) = delete;

    HMODULE LoadLibraryA(LPCSTR fileName) override;
    FARPROC GetProcAddress(HMODULE module, LPCSTR procName) override;
    BOOL FreeLibrary(HMODULE module) override;

    // Library names are matched without regard to case, entry names exactly, as Windows does.
    void RegisterEntry(const std::string& library, const std::string& entry, FARPROC function);
    template <typename Function>
    void RegisterEntry(const std::string& library, const std::string& entry, Function* function) {
        RegisterEntry(library, entry, AsFarProc(function));
    }
    // Takes an entry out, as on systems that lack it (98 and NT 4 have no "SetDefaultPrinterA").
    void RemoveEntry(const std::string& library, const std::string& entry);
    void RemoveLibrary(const std::string& library);
    // Loads not yet freed, over all libraries.
    int LoadedCount() const;
    // Every call as "Name argument", e.g. "LoadLibraryA winspool.drv", "GetProcAddress SetDefaultPrinterA".
    std::vector<std::string> calls;

    SimSpooler* spooler() const { return spooler_; }

    // An entry is a plain function without context, so each live SimLibrary holds one of a few slots and
    // an entry finds its machine through the slot its function was made for: Entry<K>::Call serves slot K.
    static constexpr int kSlots = 16;
    int slot() const { return slot_; }
    static SimLibrary* InSlot(int slot);
    template <template <int> class Entry>
    FARPROC ForThisSlot() const {
        return PickSlot<Entry>(slot_, std::make_integer_sequence<int, kSlots>());
    }
    // What an extension's entries need to find (for example a simulated device), by a name it chooses.
    void SetContext(const std::string& name, void* context) { contexts_[name] = context; }
    void* Context(const std::string& name) const;

private:
    template <template <int> class Entry, int... K>
    static FARPROC PickSlot(int slot, std::integer_sequence<int, K...>) {
        static const FARPROC table[] = {AsFarProc(&Entry<K>::Call)...};
        return table[slot];
    }
    struct Module {
        std::map<std::string, FARPROC> entries;
        int loads = 0;
    };
    static std::string Key(const std::string& library);
    Module* FindLoaded(HMODULE module, std::string* name);

    SimWindows& w_;
    SimSpooler* spooler_;
    int slot_ = -1;
    std::map<std::string, Module> modules_;
    std::map<std::string, void*> contexts_;
};

}  // namespace win::sim
