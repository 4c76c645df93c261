// The removal run of uninstall: the job check of the Uninstall button and the run that removes the ticked
// printers, port monitors and print processors in list order, reporting each step in the progress list.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "shared/LanguageText.h"
#include "uninstall/UninstallCatalogue.h"

// Controls of the main dialog that a run disables and enables again.
constexpr int IDC_UNINSTALL = 1002;
constexpr int IDC_COMPONENTLIST = 1010;
constexpr int IDC_SELECTALL = 1012;
constexpr int IDC_EXIT = 2;
constexpr int IDC_USBDRIVER = 1019;

// What the run needs of the dialog; each operation is a synchronous message to one of its controls, so
// the run may call them from its worker thread.
class RemovalView {
public:
    virtual ~RemovalView() = default;
    virtual int ComponentCount() = 0;
    virtual bool IsChecked(int index) = 0;
    virtual std::string EntryText(int index) = 0;
    // The entries after it move up by one.
    virtual void RemoveEntry(int index) = 0;
    // Appends the line to the progress list and selects it, so the list shows it.
    virtual void ReportLine(const std::string& text) = 0;
    // A line that tells of a failed step, with the Windows error that made it fail; the list shows the
    // line alone.
    virtual void ReportFailure(const std::string& text, win::DWORD /*error*/) { ReportLine(text); }
    virtual bool UsbDriverWanted() = 0;
    virtual void EnableControl(int id, bool enable) = 0;
    // The restart question; true when the user answered Yes.
    virtual bool AskRestart() = 0;
    // The generation detection of the dialog, run again before a restart.
    virtual int DetectGeneration() = 0;
};

// The text of a message key with its first "%s" replaced by the argument. Language files are edited by
// hand, so every other character, "%" sequences included, is shown as it stands and never read as a
// printf directive.
std::string FormatWithName(const std::string& text, const std::string& name);

class RemovalEngine {
public:
    // Pauses of the run, in milliseconds.
    static constexpr win::DWORD kEntryPause = 500;
    static constexpr win::DWORD kAfterRestartPause = 500;
    static constexpr win::DWORD kPrinterPause = 1000;
    static constexpr win::DWORD kErrorPause = 100;
    static constexpr win::DWORD kInstallerLookPause = 1000;

    // The entry is DeletePrinterDriverExA when the dialog found it in winspool.drv, else null.
    RemovalEngine(win::Platform& platform, const LanguageText& messages, const UninstallCatalogue& catalogue,
                  win::PFN_DeletePrinterDriverExA deleteDriverEx)
        : platform_(platform), messages_(messages), catalogue_(catalogue), deleteDriverEx_(deleteDriverEx) {}

    // The Uninstall button's check: false, with a progress line, when any local printer (ours or not)
    // has queued jobs or cannot be read; then no run starts.
    bool MayStartRemoval(RemovalView& view);
    // The run itself, on the worker thread; returns the thread's exit code, 1.
    int RemovalThread(RemovalView& view);

    // 98/Me: true when no local printer uses a port whose name holds "KXCOM".
    bool CheckSerialPortsFree(RemovalView& view);
    void DeleteMonitorFiles(RemovalView& view, const std::string& monitorName);
    void DeleteProcessorFile(RemovalView& view, const std::string& processorName);

    // The text of the component being handled; it keeps the last one after a run.
    const std::string& CurrentItemText() const { return currentItemText_; }
    // The listed files the runs could not delete because Windows holds them (a loaded DLL, a file open
    // without sharing), as full paths.
    const std::vector<std::string>& HeldFiles() const { return heldFiles_; }

private:
    enum class Outcome { kNext, kAbort };
    struct Run {
        int index = 0;
        bool removedSomething = false;
    };
    Outcome RemoveMonitor(RemovalView& view, Run& run, const std::string& name);
    Outcome RemoveProcessor(RemovalView& view, Run& run, const std::string& name);
    Outcome RemovePrinter(RemovalView& view, Run& run, const std::string& name);
    void RemoveDriver(RemovalView& view, const std::string& printerName, const win::PRINTER_INFO_2A& info);
    // Reports the success, takes the entry out of the list and marks the run.
    void Removed(RemovalView& view, Run& run, const std::string& name);
    void Forget(RemovalView& view, Run& run);
    bool EveryLocalPrinter(RemovalView& view, const std::string* openSubject,
                           const std::function<bool(const win::PRINTER_INFO_2A&)>& check);
    void RemoveUsbDriver(RemovalView& view);
    void Restart(RemovalView& view);
    void Finish(RemovalView& view);
    void DeleteListedFile(RemovalView& view, const char* directory, const std::string& file);

    std::string Text(const char* key) const { return messages_.Get(key); }
    std::string Text(const char* key, const std::string& name) const {
        return FormatWithName(messages_.Get(key), name);
    }
    void Pause(win::DWORD milliseconds) { platform_.clock.Sleep(milliseconds); }

    win::Platform& platform_;
    const LanguageText& messages_;
    const UninstallCatalogue& catalogue_;
    win::PFN_DeletePrinterDriverExA deleteDriverEx_;
    std::string currentItemText_;
    std::vector<std::string> heldFiles_;
};
