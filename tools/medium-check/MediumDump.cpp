// The records ModelConfig fills for every listed model, generation and driver kind, as JSON lines.
#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "platform/sim/SimPlatform.h"
#include "setup/environment/ModelConfig.h"
#include "tools/medium-check/MediumCheck.h"
#include "tools/medium-check/MediumFiles.h"

namespace medium {

namespace {

// Owns one conversion descriptor.
class Converter {
public:
    Converter() : descriptor_(iconv_open("UTF-8", "CP936")) {}
    ~Converter() {
        if (descriptor_ != reinterpret_cast<iconv_t>(-1)) iconv_close(descriptor_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    std::string Convert(const std::string& text) {
        if (descriptor_ == reinterpret_cast<iconv_t>(-1)) return text;
        std::string result;
        std::vector<char> chunk(64);
        char* in = const_cast<char*>(text.data());
        size_t inLeft = text.size();
        while (inLeft > 0) {
            char* out = chunk.data();
            size_t outLeft = chunk.size();
            size_t done = iconv(descriptor_, &in, &inLeft, &out, &outLeft);
            result.append(chunk.data(), chunk.size() - outLeft);
            if (done != static_cast<size_t>(-1) || errno == E2BIG) continue;
            // Not a character of code page 936, or cut in the middle of one.
            result += "\xEF\xBF\xBD";
            ++in;
            --inLeft;
            iconv(descriptor_, nullptr, nullptr, nullptr, nullptr);
        }
        return result;
    }

private:
    iconv_t descriptor_;
};

std::string Text(const char* text) { return text ? JsonString(Cp936ToUtf8(text)) : "null"; }

std::string Bool(bool value) { return value ? "true" : "false"; }

std::string DependentFiles(const char* list) {
    std::string json = "[";
    for (const char* entry = list; entry && *entry; entry += std::strlen(entry) + 1) {
        if (json.size() > 1) json += ",";
        json += Text(entry);
    }
    return json + "]";
}

std::string Monitor(const win::MONITOR_INFO_2A& info, const char* uiDll, int32_t version) {
    return "{\"pName\":" + Text(info.pName) + ",\"pEnvironment\":" + Text(info.pEnvironment) +
           ",\"pDLLName\":" + Text(info.pDLLName) + ",\"uiDllName\":" + Text(uiDll) +
           ",\"version\":" + std::to_string(version) + "}";
}

std::string Files(const DriverFileSet& set) {
    struct Slot {
        size_t offset;
        const char* name;
    };
    static const Slot kSlots[] = {
        {DriverFileSet::kDriverPath, "driverPath"},     {DriverFileSet::kDataFile, "dataFile"},
        {DriverFileSet::kConfigFile, "configFile"},     {DriverFileSet::kHelpFile, "helpFile"},
        {DriverFileSet::kProcessorDll, "processorDll"}, {DriverFileSet::kDataFileDll, "dataFileDll"},
        {DriverFileSet::kOemUnidrvDll, "oemUnidrvDll"}, {DriverFileSet::kOemUnidrvIni, "oemUnidrvIni"},
        {DriverFileSet::kOemUiDll, "oemUiDll"},
    };
    std::string json = "[";
    for (const Slot& slot : kSlots) {
        if (json.size() > 1) json += ",";
        // A slot is 200 bytes; a value fills at most 199 of them, so it is always zero-ended.
        std::string value(set.Slot(slot.offset), strnlen(set.Slot(slot.offset), DriverFileSet::kSlotSize));
        json += "{\"slot\":" + std::to_string(slot.offset) + ",\"name\":\"" + slot.name +
                "\",\"value\":" + JsonString(Cp936ToUtf8(value)) + "}";
    }
    return json + "]";
}

}  // namespace

std::string Cp936ToUtf8(const std::string& text) {
    Converter converter;
    return converter.Convert(text);
}

std::string JsonString(const std::string& utf8) {
    std::string json = "\"";
    for (char c : utf8) {
        unsigned char u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            json += '\\';
            json += c;
        } else if (u < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", u);
            json += escape;
        } else {
            json += c;
        }
    }
    return json + "\"";
}

bool DumpMedium(const std::string& mediumDir, std::ostream& out) {
    if (FindOnMedium(mediumDir, "DRVCONFIG\\setup.ini").empty()) return false;
    win::sim::SimPlatform sim;
    std::error_code error;
    sim.windows().MapDrive('M', std::filesystem::absolute(mediumDir, error).string());
    sim.windows().moduleFileName = "M:\\setup.exe";
    sim.windows().currentDirectory = "M:\\";
    ModelConfig config(sim.platform());

    int count = config.GetDeviceCount();
    for (int n = 1; n <= count; ++n) {
        char model[kModelTextSize] = {};
        PrinterClass printerClass = config.GetDeviceName(n, model);
        if (printerClass == kPrinterClassNone) continue;
        config.SetPrinterClass(printerClass);
        for (PlatformGeneration g = 0; g < kGenerationCount; ++g) {
            MonitorPair pair{};
            config.GetMonitorInfo(g, pair);
            std::string monitors =
                "{\"com\":" + Monitor(pair.comMonitor, pair.comUiDllName, pair.comVersion) +
                ",\"usb\":" + Monitor(pair.usbMonitor, pair.usbUiDllName, pair.usbVersion) + "}";
            for (DriverKind kind = kDriverKindStd; kind <= kDriverKindGdi; ++kind) {
                win::DRIVER_INFO_3A driver{};
                config.GetDriverInfo(model, g, driver, kind);
                win::PRINTER_INFO_2A printer{};
                config.GetPrinterInfo(model, g, printer, kind);
                DriverFileSet set{};
                config.GetDriverFiles(model, g, set, kind);
                bool usesDdk = config.UsesDdkDependentFiles(model, g, kind);
                out << "{\"model\":" << Text(model) << ",\"class\":" << printerClass
                    << ",\"generation\":" << g << ",\"kind\":" << kind << ",\"usesDdk\":" << Bool(usesDdk)
                    << ",\"driver\":{\"cVersion\":" << driver.cVersion << ",\"pName\":" << Text(driver.pName)
                    << ",\"pEnvironment\":" << Text(driver.pEnvironment)
                    << ",\"pDriverPath\":" << Text(driver.pDriverPath)
                    << ",\"pDataFile\":" << Text(driver.pDataFile)
                    << ",\"pConfigFile\":" << Text(driver.pConfigFile)
                    << ",\"pHelpFile\":" << Text(driver.pHelpFile)
                    << ",\"pDependentFiles\":" << DependentFiles(driver.pDependentFiles) << "}"
                    << ",\"printer\":{\"pPrinterName\":" << Text(printer.pPrinterName)
                    << ",\"pDriverName\":" << Text(printer.pDriverName)
                    << ",\"pPrintProcessor\":" << Text(printer.pPrintProcessor)
                    << ",\"Attributes\":" << printer.Attributes << "}"
                    << ",\"files\":" << Files(set) << ",\"monitors\":" << monitors << "}\n";
            }
        }
    }
    return true;
}

}  // namespace medium
