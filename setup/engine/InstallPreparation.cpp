// Validating the choices, classifying the port and completing the printer and port names.
#include "setup/engine/InstallPreparation.h"

#include <cstdlib>

#include "setup/engine/UsbPortRecords.h"

namespace {

bool Contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

// A model family whose printers all use the family's own USB port names.
constexpr char kSharedPortFamily[] = "ZMX-L5";
constexpr char kSharedPortPrefix[] = "USB_ZMX-L5_";

}  // namespace

PortKind ClassifyPort(const std::string& portName) {
    if (Contains(portName, "USB_")) return kPortKindUsb;
    if (Contains(portName, "COM")) return kPortKindSerial;
    if (Contains(portName, "LPT")) return kPortKindParallel;
    return kPortKindUnsupported;
}

const char* CheckModelSupportsTarget(win::Platform& platform, const InstallRecord& record) {
    if (record.modelName.empty()) return "IDS_ERR_SELPRINTER";
    const char* flag = nullptr;
    const char* refusal = nullptr;
    if (platform.architecture.is64Bit && record.generation != kGenerationWin98Me) {
        // The x64 edition installs one set of x64 drivers on every 64-bit Windows.
        flag = "SystemX64Supported";
        refusal = "IDS_NOTSUPPORTX64";
    } else if (record.generation == kGenerationServer2003) {
        flag = "System2003Supported";
        refusal = "IDS_NOTSUPPORT2003";
    } else if (record.generation == kGenerationNT4) {
        flag = "SystemNTSupported";
        refusal = "IDS_NOTSUPPORTNT";
    } else {
        return nullptr;
    }
    char value[kModelTextSize] = {};
    const std::string section = record.modelName + ".PORT";
    platform.profile.GetPrivateProfileStringA(section.c_str(), flag, "0", value, sizeof value,
                                              record.modelFilePath.c_str());
    return std::atoi(value) == 0 ? refusal : nullptr;
}

void FillModelRecords(InstallRecord& record) {
    record.fileSet = DriverFileSet{};
    record.driver = win::DRIVER_INFO_3A{};
    record.printer = win::PRINTER_INFO_2A{};
    ModelConfig& config = record.modelConfig;
    config.SetPrinterClass(record.printerClass);
    const char* model = record.modelName.c_str();
    config.GetDriverFiles(model, record.generation, record.fileSet, record.driverKind);
    config.GetDriverInfo(model, record.generation, record.driver, record.driverKind);
    config.GetPrinterInfo(model, record.generation, record.printer, record.driverKind);
    // The names grow with suffixes later, so they live in the record, not in the model file's buffers.
    record.printerName = record.printer.pPrinterName != nullptr ? record.printer.pPrinterName : "";
    record.printer.pPrinterName = &record.printerName[0];
    record.recordPortName.clear();
    record.printer.pPortName = &record.portName[0];
}

void CompletePrinterAndPortNames(InstallRecord& record) {
    const std::string& port = record.portName;
    if (record.portKind == kPortKindUsb) {
        const char* suffixes[] = {"(U) 1", "(U) 2", "(U) 3", "(U) 4"};
        for (int n = 1; n <= 4; ++n)
            if (Contains(port, ("_" + std::to_string(n)).c_str())) record.printerName += suffixes[n - 1];
        record.printer.pPortName = &record.portName[0];
        if (Contains(port, kSharedPortFamily) && !port.empty()) {
            record.recordPortName = std::string(kSharedPortPrefix) + port.back();
            record.printer.pPortName = &record.recordPortName[0];
        }
        record.printer.pPrinterName = &record.printerName[0];
        return;
    }
    if (record.portKind == kPortKindSerial) record.printerName += "(S)";
    if (record.portKind == kPortKindParallel) record.printerName += "(P)";
    record.printer.pPrinterName = &record.printerName[0];
}

void CompletePrinterAndPortNames(win::Platform& platform, InstallRecord& record) {
    CompletePrinterAndPortNames(record);
    if (record.portKind == kPortKindUsb) UpdateUsbPortRecords(platform, record.printer.pPortName);
}

const char* CheckPortSupportsTarget(const InstallRecord& record) {
    return record.generation == kGenerationNT4 && record.portKind == kPortKindUsb ? "IDS_ERR_NOSUPPORTUSB" : nullptr;
}
