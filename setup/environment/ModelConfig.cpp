// The model-file reader: the device list, the monitors, and the driver and printer records per model.
#include "setup/environment/ModelConfig.h"

#include <climits>
#include <cstdlib>
#include <cstring>

// The spellings ModelFilePaths hands on.
const char* const kClassFileNames[kPrinterClassCount] = {
    "DRVCONFIG\\setup_receipt.ini",
    "DRVCONFIG\\setup_Ticket.ini",
    "DRVCONFIG\\setup_Lable.ini",
    "DRVCONFIG\\setup_Embedded.ini",
};
// Searched in this order; the first one found ends the model name.
const char* const kClassSuffixes[kPrinterClassCount] = {
    "-ReceiptPrinter",
    "-TicketPrinter",
    "-LabelPrinter",
    "-EmbeddedPrinter",
};

namespace {

constexpr char kDefault[] = "0";
// The spellings ModelConfig uses; the files are matched without regard to case.
const char* const kClassFiles[kPrinterClassCount] = {
    "DRVCONFIG\\setup_receipt.ini",
    "DRVCONFIG\\setup_ticket.ini",
    "DRVCONFIG\\setup_lable.ini",
    "DRVCONFIG\\setup_embedded.ini",
};

constexpr win::DWORD kNameSize = 50;
constexpr win::DWORD kVersionSize = 10;
constexpr win::DWORD kDdkFlagSize = 10;
constexpr win::DWORD kKindDdkFlagSize = 5;
constexpr win::DWORD kCountSize = 50;

// The directory part of the program path, up to and including its last backslash. False when the path
// cannot be read whole: a path cut at 200 bytes would name some other directory.
bool ProgramDirectory(win::Platform& platform, std::string* directory) {
    char module[kModelTextSize] = {};
    win::DWORD length = platform.files.GetModuleFileNameA(nullptr, module, kModelTextSize);
    if (length >= kModelTextSize) return false;
    std::string path(module, length);
    size_t slash = path.rfind('\\');
    *directory = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    return true;
}

// A path that would not fit in 200 bytes is left empty, so nothing is read from a cut path.
std::string FittingPath(const std::string& path) {
    return path.size() < kModelTextSize ? path : std::string();
}

void CopyFitting(const std::string& path, char* buffer) {
    std::memset(buffer, 0, kModelTextSize);
    std::string fitting = FittingPath(path);
    std::memcpy(buffer, fitting.c_str(), fitting.size());
}

void CopyBounded(char* buffer, size_t size, const char* text) {
    if (size == 0) return;
    std::strncpy(buffer, text, size - 1);
    buffer[size - 1] = '\0';
}

// atoi/atol as the Windows run-time gives them, with values beyond 32 bits held at the limits.
long long ClampedNumber(const char* text, long long low, long long high) {
    long long value = std::strtoll(text, nullptr, 10);
    return value < low ? low : value > high ? high : value;
}
int ToInt(const char* text) { return static_cast<int>(ClampedNumber(text, INT_MIN, INT_MAX)); }
int32_t ToLong(const char* text) { return static_cast<int32_t>(ClampedNumber(text, INT32_MIN, INT32_MAX)); }

// The model's section of the generation; empty for a generation outside 0 to 5.
std::string ModelSection(const char* modelName, PlatformGeneration generation,
                         const win::Architecture& architecture) {
    const GenerationProperties* properties = GetGenerationProperties(generation, architecture);
    // Built to its full length: a section name cut at 200 bytes would be some other model's.
    return properties != nullptr ? std::string(modelName) + properties->sectionSuffix : std::string();
}

const char* KindPrefix(DriverKind kind) {
    if (kind == kDriverKindStd) return "STD";
    if (kind == kDriverKindGdi) return "GDI";
    return nullptr;
}

void AppendEntry(char*& at, const char* text) {
    size_t length = std::strlen(text);
    std::memcpy(at, text, length + 1);
    at += length + 1;
}

}  // namespace

void ModelFilePaths(win::Platform& platform, PrinterClass printerClass, char* deviceListPath,
                    char* classFilePath) {
    std::memset(deviceListPath, 0, kModelTextSize);
    std::memset(classFilePath, 0, kModelTextSize);
    std::string directory;
    if (!ProgramDirectory(platform, &directory)) return;
    CopyFitting(directory + kDeviceListFile, deviceListPath);
    bool known = printerClass >= 0 && printerClass < kPrinterClassCount;
    CopyFitting(known ? directory + kClassFileNames[printerClass] : directory, classFilePath);
}

int ReadModelPortNumber(win::Platform& platform, PrinterClass printerClass, const std::string& model,
                        const char* key) {
    if (printerClass < 0 || printerClass >= kPrinterClassCount) return 0;
    char deviceList[kModelTextSize];
    char classFile[kModelTextSize];
    ModelFilePaths(platform, printerClass, deviceList, classFile);
    if (classFile[0] == '\0') return 0;
    char value[kModelTextSize] = {};
    std::string section = model + ".PORT";
    platform.profile.GetPrivateProfileStringA(section.c_str(), key, "0", value, kModelTextSize, classFile);
    long long number = std::strtoll(value, nullptr, 10);
    return static_cast<int>(number < INT_MIN ? INT_MIN : number > INT_MAX ? INT_MAX : number);
}

ModelConfig::ModelConfig(win::Platform& platform) : platform_(platform) {
    std::string directory;
    if (!ProgramDirectory(platform, &directory)) return;
    deviceListPath_ = FittingPath(directory + kDeviceListFile);
    for (int i = 0; i < kPrinterClassCount; ++i) classFilePaths_[i] = FittingPath(directory + kClassFiles[i]);
}

const std::string& ModelConfig::ClassFilePath(PrinterClass printerClass) const {
    static const std::string kNone;
    return printerClass >= 0 && printerClass < kPrinterClassCount ? classFilePaths_[printerClass] : kNone;
}

void ModelConfig::SelectFile() { currentFile_ = ClassFilePath(printerClass_); }

void ModelConfig::Read(const std::string& file, const std::string& section, const char* key, char* buffer,
                       win::DWORD size) {
    // No file to read (no class, or a path too long): the key reads as its default.
    if (file.empty()) {
        CopyBounded(buffer, size, kDefault);
        return;
    }
    platform_.profile.GetPrivateProfileStringA(section.c_str(), key, kDefault, buffer, size, file.c_str());
}

void ModelConfig::ReadModelKey(const std::string& section, DriverKind kind, const char* key, char* buffer,
                               win::DWORD size) {
    std::string name = std::string(KindPrefix(kind)) + key;
    Read(currentFile_, section, name.c_str(), buffer, size);
}

char* ModelConfig::Environment(PlatformGeneration generation) {
    const GenerationProperties* properties = GetGenerationProperties(generation, platform_.architecture);
    if (properties == nullptr || properties->spoolerEnvironment == nullptr) return nullptr;
    CopyBounded(environment_, sizeof(environment_), properties->spoolerEnvironment);
    return environment_;
}

void ModelConfig::GetDriverInfo(const char* modelName, PlatformGeneration generation,
                                win::DRIVER_INFO_3A& record, DriverKind kind) {
    const GenerationProperties* properties = GetGenerationProperties(generation, platform_.architecture);
    // An unknown generation has no driver version; the caller's value stays.
    if (properties != nullptr) record.cVersion = properties->driverVersion;
    SelectFile();
    std::string section = ModelSection(modelName, generation, platform_.architecture);

    char* const strings[] = {driverName_,  dataFile_, driverPath_,   helpFile_,    configFile_,
                             dataFileDll_, oemUiDll_, oemUnidrvDll_, oemUnidrvIni_};
    // A kind that reads nothing must not hand on the values of an earlier model.
    for (char* text : strings) std::memset(text, 0, kModelTextSize);
    if (KindPrefix(kind) != nullptr) {
        ReadModelKey(section, kind, "DriverName", driverName_, kNameSize);
        ReadModelKey(section, kind, "DataFile", dataFile_, kModelTextSize);
        ReadModelKey(section, kind, "DriverPath", driverPath_, kModelTextSize);
        ReadModelKey(section, kind, "HelpFile", helpFile_, kModelTextSize);
        ReadModelKey(section, kind, "ConfigFile", configFile_, kModelTextSize);
        ReadModelKey(section, kind, "DataFileDLLName", dataFileDll_, kModelTextSize);
        ReadModelKey(section, kind, "DataOemuiDLL", oemUiDll_, kModelTextSize);
        ReadModelKey(section, kind, "DataOemuniDLL", oemUnidrvDll_, kModelTextSize);
        ReadModelKey(section, kind, "DataOemuniini", oemUnidrvIni_, kModelTextSize);
    }

    record.pEnvironment = Environment(generation);
    record.pName = driverName_;
    record.pDriverPath = driverPath_;
    record.pDataFile = dataFile_;
    record.pConfigFile = configFile_;
    record.pHelpFile = helpFile_;

    // The DDK flag of this step is always the "GDI" one, whatever the kind.
    char flag[kDdkFlagSize] = {};
    Read(currentFile_, section, "GDI2KDDKDEV", flag, kDdkFlagSize);
    std::memset(dependentFiles_, 0, sizeof(dependentFiles_));
    if (ToInt(flag) != 0 && generation >= kGenerationWin2000 && generation <= kGenerationVista) {
        char* at = dependentFiles_;
        AppendEntry(at, dataFile_);
        AppendEntry(at, "TTFSUB.GPD");
        AppendEntry(at, "UNIRES.DLL");
        AppendEntry(at, "STDNAMES.GPD");
        // "0" means none; an empty value is still copied, and its zero byte ends the list there.
        for (const char* further : {dataFileDll_, oemUiDll_, oemUnidrvDll_, oemUnidrvIni_})
            if (further[0] != '0') AppendEntry(at, further);
    }
    record.pDependentFiles = dependentFiles_;
}

void ModelConfig::GetPrinterInfo(const char* modelName, PlatformGeneration generation,
                                 win::PRINTER_INFO_2A& record, DriverKind kind) {
    SelectFile();
    std::string section = ModelSection(modelName, generation, platform_.architecture);
    std::memset(printerDriverName_, 0, kModelTextSize);
    std::memset(printProcessor_, 0, kModelTextSize);
    std::memset(attributes_, 0, kModelTextSize);
    if (KindPrefix(kind) != nullptr) {
        ReadModelKey(section, kind, "DRIVERNAME", printerDriverName_, kNameSize);
        ReadModelKey(section, kind, "PrintProcessor", printProcessor_, kNameSize);
        Read(currentFile_, section, "ATTRIBUTES", attributes_, kNameSize);
    }
    record.Attributes = static_cast<win::DWORD>(ToLong(attributes_));
    record.pDriverName = printerDriverName_;
    record.pPrintProcessor = printProcessor_;
    CopyBounded(printerName_, kModelTextSize, modelName);
    record.pPrinterName = printerName_;
}

void ModelConfig::GetDriverFiles(const char* modelName, PlatformGeneration generation, DriverFileSet& set,
                                 DriverKind kind) {
    SelectFile();
    std::string section = ModelSection(modelName, generation, platform_.architecture);
    if (KindPrefix(kind) == nullptr) return;
    const struct {
        const char* key;
        size_t slot;
    } reads[] = {
        {"DataFile", DriverFileSet::kDataFile},          {"ConfigFile", DriverFileSet::kConfigFile},
        {"HelpFile", DriverFileSet::kHelpFile},          {"ProcessorDLLName", DriverFileSet::kProcessorDll},
        {"DriverPath", DriverFileSet::kDriverPath},      {"DataFileDLLName", DriverFileSet::kDataFileDll},
        {"DataOemuiDLL", DriverFileSet::kOemUiDll},      {"DataOemuniDLL", DriverFileSet::kOemUnidrvDll},
        {"DataOemuniini", DriverFileSet::kOemUnidrvIni},
    };
    for (const auto& read : reads)
        ReadModelKey(section, kind, read.key, set.Slot(read.slot), DriverFileSet::kSlotSize);
}

void ModelConfig::GetMonitorInfo(PlatformGeneration generation, MonitorPair& pair) {
    const GenerationProperties* properties = GetGenerationProperties(generation, platform_.architecture);
    std::string section =
        std::string("COMMON-MONITOR") + (properties != nullptr ? properties->sectionSuffix : "");
    char version[kVersionSize] = {};

    Read(deviceListPath_, section, "USBMONitorPName", usbMonitorName_, kNameSize);
    Read(deviceListPath_, section, "USBMONitorPDLLName", usbMonitorDll_, kModelTextSize);
    Read(deviceListPath_, section, "USBMONitorPUIDLLName", pair.usbUiDllName, kNameSize);
    Read(deviceListPath_, section, "USBMONitorVersion", version, kVersionSize);
    pair.usbVersion = ToInt(version);

    Read(deviceListPath_, section, "COMMONitorPName", comMonitorName_, kNameSize);
    Read(deviceListPath_, section, "COMMONitorPDLLName", comMonitorDll_, kModelTextSize);
    Read(deviceListPath_, section, "COMMONitorPUIDLLName", pair.comUiDllName, kNameSize);
    Read(deviceListPath_, section, "COMMONitorVersion", version, kVersionSize);
    pair.comVersion = ToInt(version);

    pair.usbMonitor.pName = usbMonitorName_;
    pair.usbMonitor.pEnvironment = Environment(generation);
    pair.usbMonitor.pDLLName = usbMonitorDll_;
    pair.comMonitor.pName = comMonitorName_;
    pair.comMonitor.pEnvironment = Environment(generation);
    pair.comMonitor.pDLLName = comMonitorDll_;
}

bool ModelConfig::UsesDdkDependentFiles(const char* modelName, PlatformGeneration generation,
                                        DriverKind kind) {
    SelectFile();
    std::string section = ModelSection(modelName, generation, platform_.architecture);
    if (KindPrefix(kind) == nullptr) return false;
    char flag[kKindDdkFlagSize] = {};
    ReadModelKey(section, kind, "2KDDKDEV", flag, kKindDdkFlagSize);
    return flag[0] == '1';
}

int ModelConfig::GetProcessorVersion() {
    char version[kNameSize] = {};
    Read(deviceListPath_, "ProcessorVersion", "DriverVersion", version, kNameSize);
    return ToInt(version);
}

int ModelConfig::GetDeviceCount() {
    char count[kCountSize] = {};
    Read(deviceListPath_, "DEVICENAME", "DEVICENUMBER", count, kCountSize);
    return ToInt(count);
}

PrinterClass ModelConfig::GetDeviceName(int n, char* buffer) {
    std::string key = "DEVICENAME" + std::to_string(n);
    Read(deviceListPath_, "DEVICENAME", key.c_str(), buffer, kModelTextSize);
    for (PrinterClass printerClass = 0; printerClass < kPrinterClassCount; ++printerClass) {
        char* suffix = std::strstr(buffer, kClassSuffixes[printerClass]);
        if (suffix != nullptr) {
            *suffix = '\0';
            return printerClass;
        }
    }
    return kPrinterClassNone;
}

PrinterClass ModelConfig::GetDefaultDevice(char* buffer) {
    Read(deviceListPath_, "DEVICENAME", "DEFAULTNAME", buffer, kDefaultDeviceSize);
    return GetDeviceName(ToInt(buffer), buffer);
}
