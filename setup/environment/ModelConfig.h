// The reader of the model files in DRVCONFIG beside the program, and the spooler records it fills.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/Platform.h"
#include "platform/SpoolerTypes.h"
#include "setup/environment/PlatformGeneration.h"

typedef int32_t PrinterClass;

constexpr PrinterClass kPrinterClassNone = -1;
constexpr PrinterClass kPrinterClassReceipt = 0;
constexpr PrinterClass kPrinterClassTicket = 1;
constexpr PrinterClass kPrinterClassLabel = 2;
constexpr PrinterClass kPrinterClassEmbedded = 3;
constexpr int kPrinterClassCount = 4;

// The device list and the class files as the medium spells them, and the class suffixes of the device
// list's entries, searched in class order.
constexpr char kDeviceListFile[] = "DRVCONFIG\\setup.ini";
extern const char* const kClassFileNames[kPrinterClassCount];
extern const char* const kClassSuffixes[kPrinterClassCount];

// Selects the "STD" or the "GDI" keys of a model section.
typedef int32_t DriverKind;

constexpr DriverKind kDriverKindStd = 0;
constexpr DriverKind kDriverKindGdi = 1;

// Paths, model names and most values of the model files live in buffers of this size.
constexpr win::DWORD kModelTextSize = 200;
// GetDefaultDevice's buffer: "DEFAULTNAME" is read with this size before the entry replaces it.
constexpr win::DWORD kDefaultDeviceSize = 260;

// The names of the files to copy, one 200-byte slot each; the caller zeroes it, empty slots stay empty.
struct DriverFileSet {
    static constexpr size_t kSize = 2900;
    static constexpr size_t kSlotSize = kModelTextSize;
    static constexpr size_t kDriverPath = 0;
    static constexpr size_t kDataFile = 200;
    static constexpr size_t kConfigFile = 400;
    static constexpr size_t kHelpFile = 600;
    static constexpr size_t kProcessorDll = 1900;
    static constexpr size_t kDataFileDll = 2100;
    static constexpr size_t kOemUnidrvDll = 2300;
    static constexpr size_t kOemUnidrvIni = 2500;
    static constexpr size_t kOemUiDll = 2700;

    char* Slot(size_t offset) { return bytes + offset; }
    const char* Slot(size_t offset) const { return bytes + offset; }

    char bytes[kSize];
};
static_assert(sizeof(DriverFileSet) == DriverFileSet::kSize, "the file set is a plain 2900-byte block");

// The serial/parallel (COM) and the USB port monitor of one generation.
struct MonitorPair {
    win::MONITOR_INFO_2A comMonitor;
    win::MONITOR_INFO_2A usbMonitor;
    char comUiDllName[kModelTextSize];
    char usbUiDllName[kModelTextSize];
    int32_t comVersion;
    int32_t usbVersion;
};

// Fills two 200-byte buffers with the path of DRVCONFIG\setup.ini and of the class file; for a class
// outside 0 to 3 the second holds only the program's directory. A path that does not fit stays empty.
void ModelFilePaths(win::Platform& platform, PrinterClass printerClass, char* deviceListPath,
                    char* classFilePath);

// A number of the model's port section ("%s.PORT" in the class file), read as the wizard reads it: with
// the default "0", so a missing file, section or key gives 0; a number beyond int is held at its limit.
int ReadModelPortNumber(win::Platform& platform, PrinterClass printerClass, const std::string& model,
                        const char* key);

// Every value is read with the default "0" and cut at its documented size. The records filled point
// into this object's buffers: valid while it lives and until the same operation runs again.
class ModelConfig {
public:
    explicit ModelConfig(win::Platform& platform);
    ModelConfig(const ModelConfig&) = delete;
    ModelConfig& operator=(const ModelConfig&) = delete;

    // Selects the class file of the per-model operations; none is selected until the owner sets one.
    void SetPrinterClass(PrinterClass printerClass) { printerClass_ = printerClass; }
    PrinterClass GetPrinterClass() const { return printerClass_; }

    // Leaves pMonitorName and pDefaultDataType as the caller set them.
    void GetDriverInfo(const char* modelName, PlatformGeneration generation, win::DRIVER_INFO_3A& record,
                       DriverKind kind);
    // Fills pPrinterName (the model name, in a 200-byte buffer the caller may append to), pDriverName,
    // pPrintProcessor and Attributes only.
    void GetPrinterInfo(const char* modelName, PlatformGeneration generation, win::PRINTER_INFO_2A& record,
                        DriverKind kind);
    void GetDriverFiles(const char* modelName, PlatformGeneration generation, DriverFileSet& set,
                        DriverKind kind);
    void GetMonitorInfo(PlatformGeneration generation, MonitorPair& pair);
    // The kind's own "2KDDKDEV" flag, tested by its first character.
    bool UsesDdkDependentFiles(const char* modelName, PlatformGeneration generation, DriverKind kind);
    int GetProcessorVersion();
    int GetDeviceCount();
    // Entry n (from 1) of the model list: its class, or -1 when it has no class suffix. The 200-byte
    // buffer receives the model name without the suffix, or the value as read when there is none.
    PrinterClass GetDeviceName(int n, char* buffer);
    // As GetDeviceName for the entry "DEFAULTNAME" names; the buffer must hold 260 bytes.
    PrinterClass GetDefaultDevice(char* buffer);

    const std::string& DeviceListPath() const { return deviceListPath_; }
    const std::string& ClassFilePath(PrinterClass printerClass) const;

private:
    // The longest dependent-file list: five values of at most 199 characters, the three Unidrv names,
    // each zero-ended, and the closing zero.
    static constexpr size_t kDependentFilesSize =
        5 * kModelTextSize + sizeof("TTFSUB.GPD") + sizeof("UNIRES.DLL") + sizeof("STDNAMES.GPD") + 1;

    void SelectFile();
    void Read(const std::string& file, const std::string& section, const char* key, char* buffer,
              win::DWORD size);
    void ReadModelKey(const std::string& section, DriverKind kind, const char* key, char* buffer,
                      win::DWORD size);
    char* Environment(PlatformGeneration generation);

    win::Platform& platform_;

    char driverName_[kModelTextSize] = {};
    char dataFile_[kModelTextSize] = {};
    char driverPath_[kModelTextSize] = {};
    char helpFile_[kModelTextSize] = {};
    char configFile_[kModelTextSize] = {};
    char dataFileDll_[kModelTextSize] = {};
    char oemUiDll_[kModelTextSize] = {};
    char oemUnidrvDll_[kModelTextSize] = {};
    char oemUnidrvIni_[kModelTextSize] = {};
    char dependentFiles_[kDependentFilesSize] = {};

    char usbMonitorName_[kModelTextSize] = {};
    char usbMonitorDll_[kModelTextSize] = {};
    char comMonitorName_[kModelTextSize] = {};
    char comMonitorDll_[kModelTextSize] = {};

    char printerDriverName_[kModelTextSize] = {};
    char attributes_[kModelTextSize] = {};
    char printProcessor_[kModelTextSize] = {};
    char printerName_[kModelTextSize] = {};

    PrinterClass printerClass_ = kPrinterClassNone;
    // Paths are at most 199 characters, or empty when the program's directory makes them longer.
    std::string currentFile_;
    std::string classFilePaths_[kPrinterClassCount];
    std::string deviceListPath_;
    // The spooler environment the records point to on generation 0.
    char environment_[16] = {};
};
