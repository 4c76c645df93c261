// The command-line installer: options, medium and log, the same preparation as the wizard's install action,
// then the worker or the plan.
#include "setup/engine/CommandLineInstall.h"

#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "setup/engine/InstallPlan.h"
#include "setup/engine/InstallPreparation.h"
#include "setup/engine/InstallSequence.h"
#include "setup/engine/TestPage.h"
#include "setup/engine/UsbDriverInstaller.h"
#include "shared/Handover.h"
#include "shared/Wow64.h"
#include "shared/ProgramInstances.h"

const char kCommandLineUsage[] =
    "usage: install-printer --model NAME --port NAME [--class N] [--generation N] [--kind 0|1]\n"
    "       [--baud N] [--data-bits N] [--stop-bits 1|1.5|2] [--parity n|o|e|m|s] [--flow x|p|n]\n"
    "       [--default] [--mode typical|advanced] [--change-id yes|no] [--medium DIR] [--log FILE]\n"
    "       [--test-page] [--what-if]\n"
    "  --change-id answers whether a connected USB printer's ID may be changed to match the port (default\n"
    "  no: the installation stops with the question); --mode defaults to advanced for the USB ports _2 to\n"
    "  _4, which need the printer connected, and to typical otherwise. --test-page prints a short receipt\n"
    "  once the printer is installed; a test page the spooler does not accept makes the exit code 1.\n";

namespace {

bool ParseInt(const std::string& text, long low, long high, int32_t* value) {
    if (text.empty()) return false;
    char* end = nullptr;
    long parsed = std::strtol(text.c_str(), &end, 10);
    if (*end != '\0' || parsed < low || parsed > high) return false;
    *value = static_cast<int32_t>(parsed);
    return true;
}

// The class of the model's entry in the device list, or kPrinterClassNone.
PrinterClass ClassOfListedModel(ModelConfig& config, const std::string& model) {
    int count = config.GetDeviceCount();
    for (int n = 1; n <= count; ++n) {
        char name[kModelTextSize] = {};
        PrinterClass listed = config.GetDeviceName(n, name);
        if (listed != kPrinterClassNone && model == name) return listed;
    }
    return kPrinterClassNone;
}

int32_t ModelBaudRate(win::Platform& platform, const InstallRecord& record) {
    char value[kModelTextSize] = {};
    platform.profile.GetPrivateProfileStringA((record.modelName + ".PORT").c_str(), "BaudRate", "0", value,
                                              sizeof value, record.modelFilePath.c_str());
    return std::atoi(value);
}

// The printer-ID step without a user: what it shows becomes notes, its question is answered by the option.
class CommandLinePrompts : public InstallPrompts {
public:
    CommandLinePrompts(bool answer, const std::function<void(const std::string&)>& note)
        : answer_(answer), note_(note) {}
    void Show(const std::string& text) override {
        lastShown = text;
        note_(text);
    }
    bool AskYesNo(const std::string& text) override {
        if (!answer_) refusedQuestion = text;
        note_(text + (answer_ ? " (--change-id yes)" : " (--change-id no)"));
        return answer_;
    }
    std::string lastShown, refusedQuestion;

private:
    bool answer_;
    const std::function<void(const std::string&)>& note_;
};

// The message key of the first check that refuses the installation before anything changes, or null.
const char* Refusal(SetupContext& context, const InstallRecord& record) {
    // A 32-bit program would register its 32-bit drivers with a 64-bit spooler, which cannot load them.
    if (MustHandOverToX64(context.platform)) return "IDS_NOTSUPPORT64";
    if (const char* refusal = CheckModelSupportsTarget(context.platform, record)) return refusal;
    if (record.portKind == kPortKindUnsupported) return "IDS_ERR_NOSUPPORTINTERFACE";
    // Refused before the USB driver or the printer's ID is touched.
    return CheckPortSupportsTarget(record);
}

// The installation after its options are read: the refusals, the USB steps, the names and the worker.
// sequenceRan, when given, tells whether the worker ran: then each step, a failed one too, went to steps.
int InstallParsed(SetupContext& context, InstallRecord& record, const CommandLineChoices& choices,
                  InstallMessage& message, const std::function<void(const std::string&)>& note,
                  InstallSteps* steps, bool* sequenceRan = nullptr) {
    if (const char* refusal = Refusal(context, record)) {
        message.Set(MessageFor(context.messageText, refusal));
        return kExitRefused;
    }
    if (record.portKind == kPortKindUsb && UsbDriverInstallNeeded(context.platform)) {
        RunUsbDriverInstaller(context.platform, LanguageText(context.platform, "Setup").Get("CaptionName"));
        if (steps != nullptr) steps->Step(std::string("ran the USB driver installer ") + context.platform.architecture.usbDriverKit +
                                     "\\Install.exe", 0);
    }
    FillModelRecords(record);
    if (record.portKind == kPortKindUsb) {
        CommandLinePrompts prompts(choices.changeId, note);
        if (!MatchUsbPrinterId(context.platform, context.messageText, choices.mode, record.portName,
                               prompts)) {
            // A question answered no ends here with its own text; otherwise the last thing shown says why.
            message.Set(prompts.refusedQuestion.empty() ? prompts.lastShown : prompts.refusedQuestion);
            return kExitFailed;
        }
    }
    CompletePrinterAndPortNames(context.platform, record);

    if (sequenceRan != nullptr) *sequenceRan = true;
    std::atomic<int32_t> completion{kCompletionRunning};
    InstallThreadArgs threadArgs{context, record, message, completion, steps};
    std::thread worker(RunInstallSequence, std::ref(threadArgs));
    worker.join();
    if (completion.load() != kCompletionSucceeded) return kExitFailed;
    return record.heldFiles.empty() && record.generation != kGenerationWin98Me ? kExitInstalled
                                                                               : kExitRestartRequired;
}

// The logic finds the model files, the USB port list and the USB driver beside the program, as setup.exe
// finds them beside itself; here they are read from the medium, wherever the program lies. Every other
// call goes to Windows unchanged.
class MediumAsProgramFolder : public win::Files {
public:
    MediumAsProgramFolder(win::Platform& platform, const std::string& medium)
        : files_(platform.files), kernel_(platform.kernel) {
        std::vector<char> path(win::MAX_PATH, '\0');
        win::DWORD length = files_.GetModuleFileNameA(nullptr, path.data(), win::MAX_PATH);
        std::string program(path.data(), length < win::MAX_PATH ? length : 0);
        size_t slash = program.find_last_of('\\');
        std::string name = slash == std::string::npos ? program : program.substr(slash + 1);
        programPath_ = medium + "\\" + (name.empty() ? "install-printer.exe" : name);
    }

    win::DWORD GetModuleFileNameA(win::HMODULE, win::LPSTR buffer, win::DWORD size) override {
        if (size == 0) return 0;
        // As Windows: a path that does not fit is cut, ended with a zero and reported with the full size.
        size_t copied = programPath_.size() < size ? programPath_.size() : size - 1;
        programPath_.copy(buffer, copied);
        buffer[copied] = '\0';
        if (copied < programPath_.size()) {
            kernel_.SetLastError(win::ERROR_INSUFFICIENT_BUFFER);
            return size;
        }
        return static_cast<win::DWORD>(copied);
    }

    win::DWORD GetCurrentDirectoryA(win::DWORD size, win::LPSTR buffer) override {
        return files_.GetCurrentDirectoryA(size, buffer);
    }
    win::BOOL SetCurrentDirectoryA(win::LPCSTR path) override { return files_.SetCurrentDirectoryA(path); }
    win::UINT GetWindowsDirectoryA(win::LPSTR buffer, win::UINT size) override {
        return files_.GetWindowsDirectoryA(buffer, size);
    }
    win::UINT GetSystemDirectoryA(win::LPSTR buffer, win::UINT size) override {
        return files_.GetSystemDirectoryA(buffer, size);
    }
    win::DWORD GetTempPathA(win::DWORD size, win::LPSTR buffer) override {
        return files_.GetTempPathA(size, buffer);
    }
    win::BOOL CopyFileA(win::LPCSTR existingName, win::LPCSTR newName, win::BOOL failIfExists) override {
        return files_.CopyFileA(existingName, newName, failIfExists);
    }
    win::BOOL DeleteFileA(win::LPCSTR name) override { return files_.DeleteFileA(name); }
    win::BOOL MoveFileExA(win::LPCSTR existingName, win::LPCSTR newName, win::DWORD flags) override {
        return files_.MoveFileExA(existingName, newName, flags);
    }
    win::DWORD GetFileAttributesA(win::LPCSTR name) override { return files_.GetFileAttributesA(name); }
    win::BOOL SetFileAttributesA(win::LPCSTR name, win::DWORD attributes) override {
        return files_.SetFileAttributesA(name, attributes);
    }
    win::HANDLE CreateFileA(win::LPCSTR name, win::DWORD access, win::DWORD shareMode, void* security,
                            win::DWORD disposition, win::DWORD flags, win::HANDLE templateFile) override {
        return files_.CreateFileA(name, access, shareMode, security, disposition, flags, templateFile);
    }
    win::BOOL CloseHandle(win::HANDLE handle) override { return files_.CloseHandle(handle); }
    win::DWORD GetFileSize(win::HANDLE file, win::DWORD* high) override {
        return files_.GetFileSize(file, high);
    }
    win::BOOL ReadFile(win::HANDLE file, void* buffer, win::DWORD size, win::DWORD* read,
                       void* overlapped) override {
        return files_.ReadFile(file, buffer, size, read, overlapped);
    }
    win::BOOL WriteFile(win::HANDLE file, const void* buffer, win::DWORD size, win::DWORD* written,
                        void* overlapped) override {
        return files_.WriteFile(file, buffer, size, written, overlapped);
    }
    win::BOOL CreateDirectoryA(win::LPCSTR name, void* security) override {
        return files_.CreateDirectoryA(name, security);
    }
    win::BOOL RemoveDirectoryA(win::LPCSTR name) override { return files_.RemoveDirectoryA(name); }
    win::HANDLE FindFirstFileA(win::LPCSTR pattern, win::WIN32_FIND_DATAA* data) override {
        return files_.FindFirstFileA(pattern, data);
    }
    win::BOOL FindNextFileA(win::HANDLE find, win::WIN32_FIND_DATAA* data) override {
        return files_.FindNextFileA(find, data);
    }
    win::BOOL FindClose(win::HANDLE find) override { return files_.FindClose(find); }

private:
    win::Files& files_;
    win::Kernel& kernel_;
    std::string programPath_;
};

std::string InstallMediumLacks(win::Platform& platform, const std::string& folder) {
    if (!HasMediumFile(platform, folder, kSetupLanguageFile)) return "language\\setup.ini";
    if (!HasMediumFile(platform, folder, "\\DRVCONFIG\\setup.ini")) return "DRVCONFIG\\setup.ini";
    return "";
}

// The test page for the printer just installed, told as a line: whether the spooler took the job.
bool PrintTestPageAfterInstall(win::Platform& platform, const InstallRecord& record, ConsoleSession& session) {
    TestPageOutcome outcome = PrintInstalledTestPage(platform, record);
    if (outcome.accepted) {
        session.Line("printed a test page on " + record.printerName + ": the spooler accepted job " +
                     std::to_string(outcome.jobId) + " of " + std::to_string(outcome.bytes) + " bytes");
        return true;
    }
    session.Line("the spooler did not accept the test page on " + record.printerName + ": " + outcome.failedCall +
                 " failed (error " + std::to_string(outcome.error) + ")");
    return false;
}

// The sequence's steps as console and log lines.
class SessionSteps : public InstallSteps {
public:
    explicit SessionSteps(ConsoleSession& session) : session_(session) {}
    void Step(const std::string& text, win::DWORD error) override { session_.Line(text, error); }

private:
    ConsoleSession& session_;
};

}  // namespace

bool ParseInstallOptions(SetupContext& context, const std::vector<std::string>& args, InstallRecord& record,
                         CommandLineChoices& choices, std::string& error) {
    bool classGiven = false, generationGiven = false, kindGiven = false, baudGiven = false, modeGiven = false;
    record.generation = DetectPlatformGeneration(context.platform);
    // The port page's starting settings.
    record.serial = SerialSettings{};
    record.serial.dataBits = 8;
    record.serial.stopBits = 1;
    record.serial.parity = 'n';
    record.serial.flowControl = 'p';
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (option == "--default") {
            record.setAsDefault = true;
            continue;
        }
        if (option == "--test-page") {
            choices.testPage = true;
            continue;
        }
        if (i + 1 >= args.size()) {
            error = option.rfind("--", 0) == 0 ? option + " needs a value" : "unknown argument " + option;
            return false;
        }
        const std::string& value = args[++i];
        bool ok = true;
        if (option == "--model") record.modelName = value;
        else if (option == "--port") record.portName = value;
        else if (option == "--class") ok = classGiven = ParseInt(value, 0, 3, &record.printerClass);
        else if (option == "--generation") ok = generationGiven = ParseInt(value, 0, 5, &record.generation);
        else if (option == "--kind") ok = kindGiven = ParseInt(value, 0, 1, &record.driverKind);
        else if (option == "--baud") ok = baudGiven = ParseInt(value, 1, 0x7fffffff, &record.serial.baudRate);
        else if (option == "--data-bits") ok = ParseInt(value, 5, 8, &record.serial.dataBits);
        else if (option == "--stop-bits") {
            ok = value == "1" || value == "1.5" || value == "2";
            if (ok) record.serial.stopBits = std::atof(value.c_str());
        } else if (option == "--parity") {
            ok = value.size() == 1 && std::strchr("noemsNOEMS", value[0]) != nullptr;
            if (ok) record.serial.parity = value[0];
        } else if (option == "--flow") {
            ok = value.size() == 1 && std::strchr("xpn", value[0]) != nullptr;
            if (ok) record.serial.flowControl = value[0] == 'n' ? ' ' : value[0];
        } else if (option == "--change-id") {
            ok = value == "yes" || value == "no";
            choices.changeId = value == "yes";
        } else if (option == "--mode") {
            ok = modeGiven = value == "typical" || value == "advanced";
            choices.mode = value == "advanced" ? kInstallModeAdvanced : kInstallModeTypical;
        } else {
            error = "unknown option " + option;
            return false;
        }
        if (!ok) {
            error = "bad value for " + option + ": " + value;
            return false;
        }
    }
    if (record.modelName.empty() || record.portName.empty()) {
        error = "--model and --port are required";
        return false;
    }
    if (record.modelName.size() >= kModelNameSize || record.portName.size() >= kPortNameSize) {
        error = "the model or port name is too long";
        return false;
    }
    if (!classGiven) {
        record.printerClass = ClassOfListedModel(record.modelConfig, record.modelName);
        if (record.printerClass == kPrinterClassNone) {
            error = "model " + record.modelName + " is not in the device list; give --class";
            return false;
        }
    }
    char deviceList[kModelTextSize] = {}, classFile[kModelTextSize] = {};
    ModelFilePaths(context.platform, record.printerClass, deviceList, classFile);
    record.modelFilePath = classFile;
    record.portKind = ClassifyPort(record.portName);
    // The raster (GDI) driver is the port page's choice for USB and parallel ports.
    if (!kindGiven)
        record.driverKind = record.portKind == kPortKindSerial || record.portKind == kPortKindUnsupported
                                ? kDriverKindStd
                                : kDriverKindGdi;
    if (!baudGiven) record.serial.baudRate = ModelBaudRate(context.platform, record);
    // Only Advanced installs offer the USB ports 2 to 4.
    if (!modeGiven && record.portKind == kPortKindUsb) {
        for (const char* advanced : {"_2", "_3", "_4"})
            if (record.portName.find(advanced) != std::string::npos) choices.mode = kInstallModeAdvanced;
    }
    (void)generationGiven;
    return true;
}

int InstallFromCommandLine(SetupContext& context, const std::vector<std::string>& args,
                           InstallMessage& message, std::string& error, std::vector<std::string>* notes,
                           InstallSteps* steps) {
    InstallRecord record(context.platform);
    CommandLineChoices choices;
    if (!ParseInstallOptions(context, args, record, choices, error)) return kExitBadOptions;
    std::function<void(const std::string&)> note = [notes](const std::string& text) {
        if (notes != nullptr) notes->push_back(text);
    };
    return InstallParsed(context, record, choices, message, note, steps);
}

int RunInstallPrinter(win::Platform& platform, const std::vector<std::string>& args, const ConsoleOutput& out,
                      std::string& error) {
    // On 64-bit Windows the x64 twin beside this program installs, so one deployment command works on every
    // till: its output is this program's, its exit code too. Without it the refusal below says why.
    if (MustHandOverToX64(platform)) {
        HandoverResult twin = RunX64Twin(platform, "install-printer");
        if (twin.started) return static_cast<int>(twin.exitCode);
    }
    std::vector<std::string> own = args;
    SessionOptions options;
    if (!TakeSessionOptions(own, options, error)) return kExitBadOptions;
    if (options.help) {
        out.line(std::string(kCommandLineUsage) + kSessionUsage);
        return kExitDone;
    }
    // Opened before the medium becomes the current directory: a relative path is the caller's.
    ConsoleSession session(platform, out);
    if (!options.logFile.empty()) session.OpenLog(options.logFile);
    std::string command = "install-printer";
    for (const std::string& arg : args) command += " " + arg;
    session.LogOnly(command);
    auto finish = [&](int code) {
        if (code == kExitBadOptions) session.LogOnly(error);
        session.LogOnly("exit code " + std::to_string(code));
        return code;
    };

    std::string medium;
    if (!SettleMedium(platform, options.medium, InstallMediumLacks, medium, error))
        return finish(kExitBadOptions);
    MediumAsProgramFolder files(platform, medium);
    // clang-format off
    win::Platform onMedium{platform.kernel, files, platform.profile, platform.clock, platform.registry,
                           platform.version, platform.cabinet, platform.spooler, platform.services,
                           platform.windows, platform.library, platform.architecture};
    // clang-format on
    SetupContext context(onMedium);
    InstallRecord record(onMedium);
    CommandLineChoices choices;
    if (!ParseInstallOptions(context, own, record, choices, error)) return finish(kExitBadOptions);
    session.LogOnly("medium " + medium);

    std::unique_ptr<RunningProgramLock> lock;
    if (!options.whatIf) {
        // Held while it runs, so setup and uninstall see an installation going on.
        lock = std::make_unique<RunningProgramLock>(onMedium, kSetupRunningMutex, kUninstallRunningMutex);
        if (lock->AnotherRuns()) {
            session.Line("another setup or uninstall is running: nothing was changed");
            return finish(kExitAnotherRuns);
        }
    }

    InstallMessage message;
    if (options.whatIf) {
        if (const char* refusal = Refusal(context, record)) {
            session.Line(MessageFor(context.messageText, refusal));
            session.Line("refused: nothing would be installed (--what-if)");
            return finish(kExitRefused);
        }
        FillModelRecords(record);
        CompletePrinterAndPortNames(record);
        InstallPlan plan = PlanInstallation(context, record, choices.changeId);
        for (const std::string& line : plan.lines) session.Line(line);
        if (choices.testPage && !plan.wouldFail)
            session.Line(record.generation == kGenerationWin98Me
                             ? "no test page before Windows restarts"
                             : "print a test page on " + plan.printerName + " (RAW)");
        session.Line("nothing was changed (--what-if)");
        return finish(plan.wouldFail ? kExitFailed : kExitDone);
    }

    SessionSteps steps(session);
    std::function<void(const std::string&)> note = [&session](const std::string& text) {
        session.Line(text);
    };
    bool sequenceRan = false;
    int result = InstallParsed(context, record, choices, message, note, &steps, &sequenceRan);
    // The steps have told a failure and, on 98/Me, the fix-ups' message; the closing text of NT-based
    // systems, a refusal and the end of the printer-ID step remain.
    bool told = sequenceRan && (result == kExitFailed || record.generation == kGenerationWin98Me);
    if (!message.Empty() && !told) session.Line(message.Text(), message.Error());
    for (const std::string& path : record.heldFiles)
        session.Line("Windows holds " + path +
                     ": it was not replaced; run the installation again after a restart");
    if (result == kExitRestartRequired) session.Line("restart Windows to finish the installation");
    bool installed = result == kExitInstalled || result == kExitRestartRequired;
    if (installed && choices.testPage) {
        // 98/Me load the new monitor and driver only at the restart.
        if (record.generation == kGenerationWin98Me)
            session.Line("no test page before Windows restarts: print one from the printer's properties then");
        else if (!PrintTestPageAfterInstall(onMedium, record, session))
            result = kExitFailed;
    }
    session.Line(installed ? "installed" : "not installed");
    return finish(result);
}
