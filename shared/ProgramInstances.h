// How setup and uninstall see each other and themselves running, whatever the language file calls their
// windows, and the start-up step that finds the medium when started from another folder.
#pragma once

#include <string>

#include "platform/Platform.h"

// Held by a running setup and a running uninstall for their whole run; the names never change.
constexpr char kSetupRunningMutex[] = "PosPrinterDriverSetup.Running";
constexpr char kUninstallRunningMutex[] = "PosPrinterDriverUninstall.Running";

// Closes a mutex handle on every way out; a program holds its mutexes until it ends.
class MutexHandle {
public:
    MutexHandle(win::Windows& windows, win::HANDLE handle) : windows_(windows), handle_(handle) {}
    ~MutexHandle() {
        if (handle_ != nullptr) windows_.CloseHandle(handle_);
    }
    MutexHandle(const MutexHandle&) = delete;
    MutexHandle& operator=(const MutexHandle&) = delete;

private:
    win::Windows& windows_;
    win::HANDLE handle_;
};

// Brings a running instance's window to the front and restores it: found by the caption its language
// file gives it, else by the template's caption.
void BringRunningInstanceForward(win::Platform& platform, const std::string& caption, const char* templateCaption);

// Whether another process holds the named mutex.
bool IsMutexHeld(win::Platform& platform, const char* name);

// The program file's base name without its extension ("setup" for ...\setup.exe), and without the x64
// edition's suffix in that edition ("setup" for ...\setup64.exe).
std::string ApplicationName(win::Platform& platform);

// The program's own path and the current directory, whatever their length; "" when Windows gives none.
std::string ProgramPath(win::Platform& platform);
std::string CurrentDirectory(win::Platform& platform);
// "C:\" keeps its backslash; every other folder loses its trailing ones.
std::string WithoutTrailingBackslash(std::string path);

// A shortcut may start the program in another working folder. When the current directory lacks the
// language file (such as "\language\setup.ini") and the program's own folder has it, the program's
// folder becomes the current directory, before anything reads a file relative to it.
void SettleCurrentDirectory(win::Platform& platform, const char* languageFile);
