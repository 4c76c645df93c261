// The command-line installer: options, the same preparation as the wizard's install action, the worker.
#include "setup/engine/CommandLineInstall.h"

#include <cstdlib>
#include <cstring>
#include <thread>

#include "setup/engine/InstallPreparation.h"
#include "setup/engine/InstallSequence.h"
#include "setup/engine/UsbDriverInstaller.h"
#include "setup/environment/Wow64.h"

const char kCommandLineUsage[] =
    "usage: install-printer --model NAME --port NAME [--class N] [--generation N] [--kind 0|1]\n"
    "       [--baud N] [--data-bits N] [--stop-bits 1|1.5|2] [--parity n|o|e|m|s] [--flow x|p|n] [--default]\n"
    "       [--mode typical|advanced] [--change-id yes|no]\n"
    "  --change-id answers whether a connected USB printer's ID may be changed to match the port (default\n"
    "  no: the installation stops with the question); --mode defaults to advanced for the USB ports _2 to\n"
    "  _4, which need the printer connected, and to typical otherwise.\n"
    "Exit 0 installed, 1 failed, 2 bad options, 3 refused (model, port or Windows not supported).";

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
    CommandLinePrompts(bool answer, std::vector<std::string>* notes) : answer_(answer), notes_(notes) {}
    void Show(const std::string& text) override {
        lastShown = text;
        if (notes_ != nullptr) notes_->push_back(text);
    }
    bool AskYesNo(const std::string& text) override {
        if (!answer_) refusedQuestion = text;
        if (notes_ != nullptr) notes_->push_back(text + (answer_ ? " (--change-id yes)" : " (--change-id no)"));
        return answer_;
    }
    std::string lastShown, refusedQuestion;

private:
    bool answer_;
    std::vector<std::string>* notes_;
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

int InstallFromCommandLine(SetupContext& context, const std::vector<std::string>& args, InstallMessage& message,
                           std::string& error, std::vector<std::string>* notes) {
    InstallRecord record(context.platform);
    CommandLineChoices choices;
    if (!ParseInstallOptions(context, args, record, choices, error)) return kExitBadOptions;
    if (RunsOn64BitWindows(context.platform)) {
        message.Set(MessageFor(context.messageText, "IDS_NOTSUPPORT64"));
        return kExitRefused;
    }

    if (const char* refusal = CheckModelSupportsTarget(context.platform, record)) {
        message.Set(MessageFor(context.messageText, refusal));
        return kExitRefused;
    }
    if (record.portKind == kPortKindUnsupported) {
        message.Set(MessageFor(context.messageText, "IDS_ERR_NOSUPPORTINTERFACE"));
        return kExitRefused;
    }
    // Refused before the USB driver or the printer's ID is touched.
    if (const char* refusal = CheckPortSupportsTarget(record)) {
        message.Set(MessageFor(context.messageText, refusal));
        return kExitRefused;
    }
    if (record.portKind == kPortKindUsb && UsbDriverInstallNeeded(context.platform))
        RunUsbDriverInstaller(context.platform, LanguageText(context.platform, "Setup").Get("CaptionName"));
    FillModelRecords(record);
    if (record.portKind == kPortKindUsb) {
        CommandLinePrompts prompts(choices.changeId, notes);
        if (!MatchUsbPrinterId(context.platform, context.messageText, choices.mode, record.portName, prompts)) {
            // A question answered no ends here with its own text; otherwise the last thing shown says why.
            message.Set(prompts.refusedQuestion.empty() ? prompts.lastShown : prompts.refusedQuestion);
            return kExitFailed;
        }
    }
    CompletePrinterAndPortNames(context.platform, record);

    std::atomic<int32_t> completion{kCompletionRunning};
    InstallThreadArgs threadArgs{context, record, message, completion};
    std::thread worker(RunInstallSequence, std::ref(threadArgs));
    worker.join();
    return completion.load() == kCompletionSucceeded ? kExitInstalled : kExitFailed;
}
