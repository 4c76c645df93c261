// The fuzz targets over the simulated Windows.
#include "tests/fuzz/FuzzTargets.h"

#include <memory>
#include <string>
#include <vector>

#include "platform/sim/ProfileReader.h"
#include "platform/sim/SimPlatform.h"
#include "setup/engine/SerialSettings.h"
#include "setup/environment/ModelConfig.h"
#include "shared/LanguageText.h"
#include "uninstall/RemovalEngine.h"
#include "uninstall/UninstallCatalogue.h"
#include "uninstall/UninstallText.h"

const FuzzTarget kFuzzTargets[5] = {
    {"profile", FuzzProfileReader},           {"model-config", FuzzModelConfig},
    {"uninstall-catalogue", FuzzUninstallCatalogue}, {"language-text", FuzzLanguageText},
    {"serial-settings", FuzzSerialSettings},
};

namespace {

// One machine for all inputs: making a simulated drive per input would cost more than the work.
win::sim::SimPlatform& Machine() {
    static win::sim::SimPlatform* machine = new win::sim::SimPlatform();
    return *machine;
}

std::string Bytes(const uint8_t* data, size_t size) { return std::string(reinterpret_cast<const char*>(data), size); }

// A lookup into a buffer of exactly that size, so the sanitizers see any write past it.
std::string Lookup(const win::sim::ProfileDocument& document, const char* section, const char* key, size_t size) {
    std::vector<char> buffer(size == 0 ? 1 : size, '\x7f');
    win::DWORD length = document.GetString(section, key, "dflt", size == 0 ? buffer.data() : buffer.data(),
                                           static_cast<win::DWORD>(size));
    if (size > 0 && length >= size) __builtin_trap();  // the result never fills the buffer
    return std::string(buffer.data(), size == 0 ? 0 : length);
}

// The names of a zero-separated list ending in two zeros.
std::vector<std::string> Names(const std::string& list) {
    std::vector<std::string> names;
    for (size_t at = 0; at < list.size() && list[at] != '\0';) {
        size_t end = list.find('\0', at);
        if (end == std::string::npos) end = list.size();
        names.push_back(list.substr(at, end - at));
        at = end + 1;
    }
    return names;
}

}  // namespace

void FuzzProfileReader(const uint8_t* data, size_t size) {
    win::sim::ProfileDocument document(Bytes(data, size));
    std::string sections = Lookup(document, nullptr, nullptr, 4096);
    for (const std::string& section : Names(sections)) {
        std::string keys = Lookup(document, section.c_str(), nullptr, 4096);
        for (size_t small : {size_t{0}, size_t{1}, size_t{2}, size_t{3}}) Lookup(document, section.c_str(), nullptr, small);
        for (const std::string& key : Names(keys)) {
            for (size_t bufferSize : {size_t{0}, size_t{1}, size_t{2}, size_t{5}, size_t{30}, size_t{2048}})
                Lookup(document, section.c_str(), key.c_str(), bufferSize);
        }
    }
    Lookup(document, "missing", "key", 8);
    win::sim::EditProfileText(Bytes(data, size), "windows", "device", "P,D,LPT1:");
}

void FuzzModelConfig(const uint8_t* data, size_t size) {
    std::string input = Bytes(data, size);
    size_t split = input.find("\n====\n");
    std::string deviceList = split == std::string::npos ? input : input.substr(0, split);
    std::string classFile = split == std::string::npos ? input : input.substr(split + 6);
    win::sim::SimPlatform& sim = Machine();
    sim.windows().WriteFile("C:\\MEDIUM\\DRVCONFIG\\setup.ini", deviceList);
    for (const char* file : kClassFileNames) sim.windows().WriteFile(std::string("C:\\MEDIUM\\") + file, classFile);

    ModelConfig config(sim.platform());
    int count = config.GetDeviceCount();
    if (count > 64) count = 64;  // the reads per entry are what is tested, not their number
    std::vector<std::string> models;
    for (int n = 1; n <= count; ++n) {
        char name[kModelTextSize] = {};
        PrinterClass printerClass = config.GetDeviceName(n, name);
        if (printerClass >= 0) models.push_back(name);
    }
    char defaultName[kDefaultDeviceSize] = {};
    config.GetDefaultDevice(defaultName);
    config.GetProcessorVersion();
    for (PrinterClass printerClass = 0; printerClass < kPrinterClassCount; ++printerClass) {
        config.SetPrinterClass(printerClass);
        for (const std::string& model : models) {
            for (PlatformGeneration generation = -1; generation <= kGenerationCount; ++generation) {
                for (DriverKind kind : {kDriverKindStd, kDriverKindGdi}) {
                    win::DRIVER_INFO_3A driver{};
                    config.GetDriverInfo(model.c_str(), generation, driver, kind);
                    win::PRINTER_INFO_2A printer{};
                    config.GetPrinterInfo(model.c_str(), generation, printer, kind);
                    auto files = std::make_unique<DriverFileSet>();
                    *files = DriverFileSet{};
                    config.GetDriverFiles(model.c_str(), generation, *files, kind);
                    config.UsesDdkDependentFiles(model.c_str(), generation, kind);
                }
                MonitorPair pair{};
                config.GetMonitorInfo(generation, pair);
            }
        }
        if (models.size() > 4) break;  // one class is enough for long lists
    }
}

void FuzzUninstallCatalogue(const uint8_t* data, size_t size) {
    win::sim::SimPlatform& sim = Machine();
    sim.windows().WriteFile("C:\\MEDIUM\\Uninstall.ini", Bytes(data, size));
    if (sim.spooler().printers.empty()) {
        win::sim::SimSpooler::Printer printer;
        printer.name = "Till";
        printer.driverName = "VORL ZMX-T310 0";
        printer.portName = "LPT1:";
        sim.spooler().printers.push_back(printer);
    }
    for (int generation : {-1, 0, 1, 3, 5}) {
        UninstallCatalogue catalogue(sim.platform(), generation, "C:\\MEDIUM\\Uninstall.ini");
        for (const char* name : {"VORL COM Monitor", "VORLPrint", "", "0", "Local Port"}) {
            catalogue.IsListedMonitor(name);
            catalogue.IsListedProcessor(name);
            catalogue.MonitorDllName(name);
            catalogue.MonitorUiDllName(name);
            catalogue.ProcessorDllName(name);
        }
        catalogue.IsListedPrinter("Till");
    }
}

void FuzzLanguageText(const uint8_t* data, size_t size) {
    win::sim::SimPlatform& sim = Machine();
    std::string bytes = Bytes(data, size);
    sim.windows().WriteFile("C:\\MEDIUM\\language\\setup.ini", bytes);
    sim.windows().WriteFile("C:\\MEDIUM\\language\\uninstall.ini", bytes);
    win::sim::ProfileDocument document(bytes);
    // Each text is read from the file anew, as the programs do: the first 64 are what is tested, more only
    // slow each input down (the profile target covers the reading itself).
    int lookups = 0;
    for (const auto& section : document.Sections()) {
        LanguageText setup(sim.platform(), section.name.c_str());
        UninstallText uninstall(sim.platform(), section.name.c_str());
        for (const auto& entry : section.entries) {
            if (++lookups > 64) return;
            setup.Get(entry.key.c_str());
            FormatWithName(uninstall.Get(entry.key.c_str()), "VORL COM Monitor");
        }
    }
}

void FuzzSerialSettings(const uint8_t* data, size_t size) {
    if (size < 12) return;
    SerialSettings settings{};
    settings.baudRate = static_cast<int32_t>(data[0] | data[1] << 8 | data[2] << 16 | uint32_t(data[3]) << 24);
    settings.dataBits = static_cast<int8_t>(data[4]);
    settings.stopBits = data[5] % 4 == 0 ? 1.0 : data[5] % 4 == 1 ? 1.5 : data[5] % 4 == 2 ? 2.0 : data[6] / 7.0;
    settings.parity = static_cast<char>(data[7]);
    settings.flowControl = static_cast<char>(data[8]);
    SerialSettingsText(settings);
    BuildDeviceControlBlock(settings);
    win::sim::SimPlatform& sim = Machine();
    std::string port = Bytes(data + 9, size - 9);
    WriteNtSerialSettings(sim.platform(), port.c_str(), settings);
}
