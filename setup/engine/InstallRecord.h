// What one installation installs: the choices of the wizard or the command line and the records filled
// from the model files, handed to the install sequence.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/SpoolerTypes.h"
#include "setup/engine/InstallMessage.h"
#include "setup/engine/SerialSettings.h"
#include "setup/engine/SpoolerRegistration.h"
#include "setup/environment/ModelConfig.h"
#include "setup/environment/PlatformGeneration.h"
#include "setup/environment/SetupContext.h"

typedef int32_t PortKind;
constexpr PortKind kPortKindUnsupported = -1;
constexpr PortKind kPortKindSerial = 0;
constexpr PortKind kPortKindParallel = 1;
constexpr PortKind kPortKindUsb = 2;

// The sizes of the record's text fields; longer texts are cut to one byte less.
constexpr size_t kModelNameSize = 200;
constexpr size_t kPortNameSize = 100;

struct InstallRecord {
    explicit InstallRecord(win::Platform& platform) : modelConfig(platform) {}
    InstallRecord(const InstallRecord&) = delete;
    InstallRecord& operator=(const InstallRecord&) = delete;

    PlatformGeneration generation = kGenerationXP;
    DriverKind driverKind = kDriverKindStd;
    PrinterClass printerClass = kPrinterClassNone;
    // The chosen model; after a successful installation the name of the printer actually created.
    std::string modelName;
    std::string portName;
    bool setAsDefault = false;
    SerialSettings serial;
    PortKind portKind = kPortKindSerial;
    UpdateFlags updateFlags = 0;

    ModelConfig modelConfig;
    std::string modelFilePath;  // the class file, for the model's port section
    DriverFileSet fileSet{};
    win::DRIVER_INFO_3A driver{};
    win::PRINTER_INFO_2A printer{};
    // What the printer record's name and port point at: the printer name with its suffixes, and the
    // port the printer is created on (the port name, or the shared port of a model family).
    std::string printerName;
    std::string recordPortName;
    // The files the sequence found held by Windows (in use, or denied while loaded): left as they were, or
    // put beside under the "n" name. Windows must restart before the new ones work.
    std::vector<std::string> heldFiles;
};

// Receives each step of the install sequence as it ends: for the command line's console and log.
class InstallSteps {
public:
    virtual ~InstallSteps() = default;
    // What the step did and how it went, and the Windows error of a failed one when it is known.
    virtual void Step(const std::string& text, win::DWORD error) = 0;
};

// The worker's outcome as the progress display reads it: 0 while running, then once 1 or 2.
constexpr int32_t kCompletionRunning = 0;
constexpr int32_t kCompletionFailed = 1;
constexpr int32_t kCompletionSucceeded = 2;

// Everything the install worker reads and writes; the starter owns it until the worker has ended.
struct InstallThreadArgs {
    SetupContext& context;
    InstallRecord& record;
    InstallMessage& message;
    std::atomic<int32_t>& completionState;
    // Told of each step when given; the wizard shows only the outcome.
    InstallSteps* steps = nullptr;
};
