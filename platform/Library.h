// Run-time libraries: loading a DLL and looking up its entries.
#pragma once

#include "platform/Win32Types.h"

// The calling convention of Windows' own entries; the simulation's entries are plain functions.
#ifndef WINAPI
#ifdef _WIN32
#define WINAPI __stdcall
#else
#define WINAPI
#endif
#endif

namespace win {

// A looked-up entry; the caller casts it to the entry's own type before calling it.
typedef int(WINAPI* FARPROC)();

// Casts between entry types, through the one function type that stands for any (no cast-function-type warning).
template <typename Entry>
Entry EntryAs(FARPROC entry) {
    return reinterpret_cast<Entry>(reinterpret_cast<void (*)()>(entry));
}
template <typename Function>
FARPROC AsFarProc(Function* function) {
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(function));
}

class Library {
public:
    virtual ~Library() = default;
    virtual HMODULE LoadLibraryA(LPCSTR fileName) = 0;
    virtual FARPROC GetProcAddress(HMODULE module, LPCSTR procName) = 0;
    virtual BOOL FreeLibrary(HMODULE module) = 0;
};

}  // namespace win
