// The release checks: the model list, the model and monitor sections, the uninstall catalogue, the files.
#include "tools/medium-check/MediumCheck.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>

#include "platform/sim/SimPlatform.h"
#include "setup/engine/FixedDriverFiles.h"
#include "setup/environment/ModelConfig.h"
#include "setup/environment/PlatformGeneration.h"
#include "tools/medium-check/MediumFiles.h"
#include "tools/medium-check/TextFit.h"

namespace medium {

namespace {

constexpr const char* kDeviceList = kDeviceListFile;
const char* const* const kClassFiles = kClassFileNames;
// The x64 edition reads one set of sections and one folder on every 64-bit Windows: here it counts as one
// more generation after Vista.
constexpr PlatformGeneration kX64Set = kGenerationCount;
constexpr PlatformGeneration kSectionSetCount = kGenerationCount + 1;
const GenerationProperties* SetProperties(PlatformGeneration set) {
    return set == kX64Set ? GetGenerationProperties(kGenerationVista, win::kArchitectureX64)
                          : GetGenerationProperties(set, win::kArchitectureX86);
}
const char* SetSuffix(PlatformGeneration set) { return SetProperties(set)->sectionSuffix; }
std::string SetLabel(PlatformGeneration set) {
    return set == kX64Set ? "64-bit Windows" : SetProperties(set)->radioLabel;
}
// The DLL-section suffixes of the uninstall catalogue, by generation: XP shares the 2000 one.
const char* const kUninstallSuffixes[] = {".98", ".NT", ".2K", ".2K", ".2003", ".Vista", ".x64"};
const char* const kKindPrefixes[] = {"STD", "GDI"};

enum class ValueKind { kText, kNumber, kFlag, kFile };

// A key the programs read, the way they read it; size is the buffer, terminating zero included.
struct KeyRule {
    std::string name;
    ValueKind kind;
    unsigned size;
    bool required;
};

std::vector<KeyRule> ModelSectionKeys() {
    struct Item {
        const char* name;
        ValueKind kind;
        unsigned size;
        bool required;
    };
    // The driver name is read with 200 bytes for the driver but 50 for the printer; the smaller counts.
    static const Item kItems[] = {
        {"DriverName", ValueKind::kText, 50, true},      {"DriverPath", ValueKind::kFile, 200, true},
        {"DataFile", ValueKind::kFile, 200, true},       {"ConfigFile", ValueKind::kFile, 200, true},
        {"HelpFile", ValueKind::kFile, 200, true},       {"DataFileDLLName", ValueKind::kFile, 200, false},
        {"DataOemuiDLL", ValueKind::kFile, 200, false},  {"DataOemuniDLL", ValueKind::kFile, 200, false},
        {"DataOemuniini", ValueKind::kFile, 200, false}, {"ProcessorDLLName", ValueKind::kFile, 200, false},
        {"PrintProcessor", ValueKind::kText, 50, true},  {"2KDDKDEV", ValueKind::kFlag, 5, false},
    };
    std::vector<KeyRule> keys;
    for (const char* prefix : kKindPrefixes) {
        for (const Item& item : kItems)
            keys.push_back({prefix + std::string(item.name), item.kind, item.size, item.required});
    }
    keys.push_back({"ATTRIBUTES", ValueKind::kNumber, 50, false});
    return keys;
}

std::vector<KeyRule> PortSectionKeys() {
    std::vector<KeyRule> keys;
    for (const char* name : {"AdvancedSetup", "SystemNTSupported", "System2003Supported", "SystemVistaSupported",
                             "SystemX64Supported", "BaudRate", "USBSUPPORTED", "LPTDEFAULT"}) {
        keys.push_back({name, ValueKind::kNumber, 200, false});
    }
    return keys;
}

std::vector<KeyRule> MonitorSectionKeys() {
    std::vector<KeyRule> keys;
    for (const char* prefix : {"COMMONitor", "USBMONitor"}) {
        std::string p = prefix;
        keys.push_back({p + "PName", ValueKind::kText, 50, true});
        keys.push_back({p + "PDLLName", ValueKind::kFile, 200, true});
        keys.push_back({p + "PUIDLLName", ValueKind::kFile, 50, false});
        keys.push_back({p + "Version", ValueKind::kNumber, 10, true});
    }
    return keys;
}

bool StartsWithFolded(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() && FoldCase(text.substr(0, prefix.size())) == FoldCase(prefix);
}

bool EndsWithFolded(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           FoldCase(text.substr(text.size() - suffix.size())) == FoldCase(suffix);
}

// Decimal text that atoi converts whole, within 32 bits.
bool IsNumber(const std::string& value) {
    size_t start = (!value.empty() && (value[0] == '+' || value[0] == '-')) ? 1 : 0;
    if (start == value.size() || value.size() - start > 10) return false;
    for (size_t i = start; i < value.size(); ++i) {
        if (value[i] < '0' || value[i] > '9') return false;
    }
    long long number = std::strtoll(value.c_str(), nullptr, 10);
    return number >= INT32_MIN && number <= INT32_MAX;
}

int ToInt(const std::string& value) { return std::atoi(value.c_str()); }

bool IsUnset(const std::string& value) { return value.empty() || value == "0"; }

// Names that point elsewhere than the source directory; trail bytes of double-byte characters can be
// 0x5C or 0x2F and do not count.
bool IsPlainName(const std::string& name) {
    for (size_t i = 0; i < name.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(name[i]);
        if (c >= 0x81 && c <= 0xFE) {
            ++i;
        } else if (c == '\\' || c == '/' || c == ':') {
            return false;
        } else if (c == '.' && i + 1 < name.size() && name[i + 1] == '.') {
            return false;
        }
    }
    return true;
}

// The system's own Unidrv files, which setup takes from Windows itself on 2000 and later.
bool IsSystemDriverFile(const std::string& name) {
    std::string upper = name;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (const char* part : {"UNIDRV", "STDNAMES", "TTFSUB", "UNIRES"}) {
        if (upper.find(part) != std::string::npos) return true;
    }
    return false;
}

std::string SourceFolder(PlatformGeneration generation) {
    std::string directory = SetProperties(generation)->sourceDirectory;
    return directory.substr(1, directory.size() - 2);
}

struct Model {
    std::string name;
    PrinterClass printerClass;
};

// How one numbered list is read: entry i of first..first+count-1 under KeyFor(i).
struct NumberedList {
    std::string countKey;
    std::string entryPrefix;
    int first;
    std::string (*keyFor)(const std::string& prefix, int index);
    const char* missingNote;
};

std::string DecimalKey(const std::string& prefix, int index) { return prefix + std::to_string(index); }
// The uninstaller forms the key from the single character 48 + i.
std::string CharacterKey(const std::string& prefix, int index) {
    return prefix + static_cast<char>(48 + index);
}

class Checker {
public:
    Checker(const std::string& root, const CheckOptions& options, std::vector<Finding>* findings)
        : root_(root), options_(options), findings_(findings) {}

    bool Run();

private:
    void Add(FindingKind kind, const std::string& file, const std::string& section, const std::string& key,
             const std::string& message) {
        findings_->push_back({kind, file, section, key, message});
    }

    void CheckByteOrderMarks();
    void CheckKeys(const IniFile& ini, const win::sim::ProfileDocument::Section& section,
                   const std::vector<KeyRule>& rules, const char* entryPrefix);
    void CheckValue(const IniFile& ini, const std::string& section, const std::string& key,
                    const KeyRule& rule);
    int CheckNumbered(const IniFile& ini, const std::string& section, const NumberedList& list);
    void CheckDeviceList(const IniFile& setupIni);
    void CheckSetupSections(const IniFile& setupIni);
    void CheckClassFile(PrinterClass printerClass);
    void CheckUninstallCatalogue();
    void CheckMediumFiles();
    void CheckRefusalTexts();
    void CheckTextFit(const std::string& folder);
    void CheckDriverFiles();
    void CheckPresent(const std::string& file, const std::string& section, const std::string& key,
                      const std::string& name, PlatformGeneration generation);
    bool OnMedium(const std::string& name, PlatformGeneration generation);
    void CheckFixedDriverFiles(ModelConfig& config);
    // Whether a model's port section promises x64 drivers; whether the medium holds the x64 edition.
    bool X64Promised() const {
        for (const auto& entry : promised_)
            if (entry.second.count(kX64Set)) return true;
        return false;
    }
    bool HasX64Edition() const {
        for (const char* program : {"setup64.exe", "uninstall64.exe", "install-printer64.exe", "uninstall-printer64.exe"})
            if (!FindOnMedium(root_, program).empty()) return true;
        return false;
    }

    std::string root_;
    CheckOptions options_;
    std::vector<Finding>* findings_;
    std::vector<Model> models_;
    // The generation sections each model's support flags promise, by class file, for the file checks.
    std::map<std::string, std::set<PlatformGeneration>> promised_;
    std::map<std::string, std::set<std::string>> folderNames_;
};

void Checker::CheckByteOrderMarks() {
    for (const std::string& path : IniFilesBelow(root_)) {
        std::string bytes;
        if (!ReadHostFile(FindOnMedium(root_, path), &bytes) || bytes.compare(0, 3, "\xEF\xBB\xBF") != 0)
            continue;
        Add(FindingKind::kByteOrderMark, path, "", "",
            "starts with a UTF-8 byte-order mark: Windows does not find its first section");
    }
}

void Checker::CheckValue(const IniFile& ini, const std::string& section, const std::string& key,
                         const KeyRule& rule) {
    std::string value = ini.Value(section, key);
    if (value.size() >= rule.size) {
        Add(FindingKind::kTooLong, ini.Path(), section, key,
            "value of " + std::to_string(value.size()) + " characters is cut to " +
                std::to_string(rule.size - 1));
    }
    switch (rule.kind) {
        case ValueKind::kNumber:
            if (!IsNumber(value))
                Add(FindingKind::kNotANumber, ini.Path(), section, key, "\"" + value + "\" is not a number");
            break;
        case ValueKind::kFlag:
            // One reader converts it with atoi, the other tests its first character for "1".
            if (value != "0" && value != "1") {
                Add(FindingKind::kNotANumber, ini.Path(), section, key,
                    "\"" + value + "\" is neither 0 nor 1");
            }
            break;
        case ValueKind::kFile:
            if (!IsUnset(value) && !IsPlainName(value)) {
                Add(FindingKind::kNotPlainName, ini.Path(), section, key,
                    "\"" + value + "\" is not a plain file name");
            }
            break;
        case ValueKind::kText:
            break;
    }
}

// Every key against the section kind's set; keys that begin with entryPrefix (when not null) belong to
// a numbered list that CheckNumbered judges.
void Checker::CheckKeys(const IniFile& ini, const win::sim::ProfileDocument::Section& section,
                        const std::vector<KeyRule>& rules, const char* entryPrefix) {
    std::set<std::string> seen;
    for (const auto& entry : section.entries) {
        if (!seen.insert(FoldCase(entry.key)).second) {
            Add(FindingKind::kDuplicateKey, ini.Path(), section.name, entry.key,
                "appears more than once; only the first is read");
            continue;
        }
        const KeyRule* rule = nullptr;
        for (const KeyRule& candidate : rules) {
            if (win::sim::ProfileNamesEqual(candidate.name, entry.key)) rule = &candidate;
        }
        if (rule) {
            CheckValue(ini, section.name, entry.key, *rule);
        } else if (!entryPrefix || !StartsWithFolded(entry.key, entryPrefix)) {
            Add(FindingKind::kUnknownKey, ini.Path(), section.name, entry.key,
                "the programs never read this key");
        }
    }
    for (const KeyRule& rule : rules) {
        if (rule.required && IsUnset(ini.Value(section.name, rule.name))) {
            Add(FindingKind::kNotSet, ini.Path(), section.name, rule.name, "is not set");
        }
    }
}

// Compares the count with the entry keys present; returns the count.
int Checker::CheckNumbered(const IniFile& ini, const std::string& section, const NumberedList& list) {
    std::string countText = ini.Value(section, list.countKey);
    int count = ToInt(countText);
    const auto* found = ini.FindSection(section);
    size_t present = found ? found->entries.size() : 0;
    // The programs would read on through a count far beyond the entries; one finding says so.
    if (count > 0 && static_cast<size_t>(count) > present + 9) {
        Add(FindingKind::kCountMismatch, ini.Path(), section, list.countKey,
            "is " + std::to_string(count) + " but the section holds only " + std::to_string(present) +
                " keys");
        return count;
    }
    std::set<std::string> expected;
    for (int i = list.first; i < list.first + count; ++i) {
        std::string key = list.keyFor(list.entryPrefix, i);
        expected.insert(FoldCase(key));
        if (!ini.HasKey(section, key)) {
            Add(FindingKind::kCountMismatch, ini.Path(), section, key,
                list.countKey + " is " + std::to_string(count) + " but this entry is missing" +
                    list.missingNote);
        }
    }
    for (const auto& entry : found ? found->entries : std::vector<win::sim::ProfileDocument::Entry>()) {
        if (win::sim::ProfileNamesEqual(entry.key, list.countKey) ||
            !StartsWithFolded(entry.key, list.entryPrefix)) {
            continue;
        }
        if (!expected.count(FoldCase(entry.key))) {
            Add(FindingKind::kCountMismatch, ini.Path(), section, entry.key,
                "never read: " + list.countKey + " is " + std::to_string(count));
        }
    }
    return count;
}

void Checker::CheckDeviceList(const IniFile& setupIni) {
    const std::string section = "DEVICENAME";
    if (!setupIni.FindSection(section)) {
        Add(FindingKind::kMissingSection, kDeviceList, section, "", "the model list is missing");
        return;
    }
    if (!setupIni.HasKey(section, "DEVICENUMBER")) {
        Add(FindingKind::kNotSet, kDeviceList, section, "DEVICENUMBER", "is not set: no model is listed");
    }
    NumberedList list{"DEVICENUMBER", "DEVICENAME", 1, DecimalKey, ""};
    int count = CheckNumbered(setupIni, section, list);
    std::set<int> hasClass;
    const auto* listed = setupIni.FindSection(section);
    // As far as CheckNumbered looks for entries.
    long long last = std::min<long long>(count, static_cast<long long>(listed->entries.size()) + 9);
    for (int n = 1; n <= last; ++n) {
        std::string key = DecimalKey("DEVICENAME", n);
        if (!setupIni.HasKey(section, key)) continue;
        std::string value = setupIni.Value(section, key);
        size_t at = std::string::npos;
        PrinterClass printerClass = kPrinterClassNone;
        for (PrinterClass c = 0; c < kPrinterClassCount && at == std::string::npos; ++c) {
            at = value.find(kClassSuffixes[c]);
            if (at != std::string::npos) printerClass = c;
        }
        if (printerClass == kPrinterClassNone) {
            Add(FindingKind::kMissingClassSuffix, kDeviceList, section, key,
                "\"" + value + "\" has no class suffix: the printer selection skips it");
            continue;
        }
        std::string suffix = kClassSuffixes[printerClass];
        if (at + suffix.size() != value.size()) {
            Add(FindingKind::kMissingClassSuffix, kDeviceList, section, key,
                "\"" + value + "\" goes on after its class suffix: the model name ends at \"" + suffix +
                    "\"");
        }
        std::string name = value.substr(0, at);
        if (value.size() >= kModelTextSize) {
            Add(FindingKind::kTooLong, kDeviceList, section, key, "the entry is cut to 199 characters");
        }
        hasClass.insert(n);
        models_.push_back({name, printerClass});
    }
    if (setupIni.HasKey(section, "DEFAULTNAME")) {
        std::string value = setupIni.Value(section, "DEFAULTNAME");
        if (!IsNumber(value)) {
            Add(FindingKind::kNotANumber, kDeviceList, section, "DEFAULTNAME",
                "\"" + value + "\" is not a number");
        } else if (ToInt(value) < 1 || ToInt(value) > count || !hasClass.count(ToInt(value))) {
            Add(FindingKind::kCountMismatch, kDeviceList, section, "DEFAULTNAME",
                "names entry " + value + ", which is no listed model");
        }
    }
}

void Checker::CheckSetupSections(const IniFile& setupIni) {
    static const std::vector<KeyRule> kDeviceKeys = {{"DEVICENUMBER", ValueKind::kNumber, 50, false},
                                                     {"DEFAULTNAME", ValueKind::kNumber, 260, false}};
    static const std::vector<KeyRule> kProcessorKeys = {{"DriverVersion", ValueKind::kNumber, 50, true}};
    static const std::vector<KeyRule> kUsbKeys = {{"PRNCOUNT", ValueKind::kNumber, 200, false}};
    static const std::vector<KeyRule> kMonitorKeys = MonitorSectionKeys();

    for (const auto& section : setupIni.Sections()) {
        if (win::sim::ProfileNamesEqual(section.name, "DEVICENAME")) {
            CheckKeys(setupIni, section, kDeviceKeys, "DEVICENAME");
            continue;
        }
        if (win::sim::ProfileNamesEqual(section.name, "ProcessorVersion")) {
            CheckKeys(setupIni, section, kProcessorKeys, nullptr);
            continue;
        }
        if (win::sim::ProfileNamesEqual(section.name, "SUPPORTED-USB-DEVICE")) {
            CheckKeys(setupIni, section, kUsbKeys, "");
            continue;
        }
        bool monitor = false;
        for (PlatformGeneration g = 0; g < kSectionSetCount; ++g)
            monitor = monitor || win::sim::ProfileNamesEqual(section.name, std::string("COMMON-MONITOR") + SetSuffix(g));
        if (monitor) {
            CheckKeys(setupIni, section, kMonitorKeys, nullptr);
        } else {
            Add(FindingKind::kUnknownSection, kDeviceList, section.name, "",
                "the programs never read this section");
        }
    }
    for (PlatformGeneration g = 0; g < kSectionSetCount; ++g) {
        std::string name = std::string("COMMON-MONITOR") + SetSuffix(g);
        // The x64 monitors are needed once a model has x64 drivers: checked after the class files.
        if (g == kX64Set) continue;
        if (!setupIni.FindSection(name)) {
            Add(FindingKind::kMissingSection, kDeviceList, name, "",
                "the port monitors of this generation are missing");
        }
    }
    if (!setupIni.FindSection("ProcessorVersion")) {
        Add(FindingKind::kMissingSection, kDeviceList, "ProcessorVersion", "",
            "the print-processor version is missing");
    }
    if (setupIni.FindSection("SUPPORTED-USB-DEVICE")) {
        NumberedList list{"PRNCOUNT", "", 0, DecimalKey, ""};
        CheckNumbered(setupIni, "SUPPORTED-USB-DEVICE", list);
        for (const auto& entry : setupIni.FindSection("SUPPORTED-USB-DEVICE")->entries) {
            if (setupIni.Value("SUPPORTED-USB-DEVICE", entry.key).size() >= 30) {
                Add(FindingKind::kTooLong, kDeviceList, "SUPPORTED-USB-DEVICE", entry.key,
                    "the port name is cut to 29 characters");
            }
        }
    }
}

void Checker::CheckClassFile(PrinterClass printerClass) {
    static const std::vector<KeyRule> kModelKeys = ModelSectionKeys();
    static const std::vector<KeyRule> kPortKeys = PortSectionKeys();
    IniFile ini(root_, kClassFiles[printerClass]);
    std::vector<const Model*> models;
    for (const Model& model : models_) {
        if (model.printerClass == printerClass) models.push_back(&model);
    }
    if (!ini.Present()) {
        if (!models.empty()) {
            Add(FindingKind::kMissingFile, ini.Path(), "", "",
                "is missing, yet " + std::to_string(models.size()) + " model(s) of its class are listed");
        }
        return;
    }
    // The generation sections each model needs, and those that its flags leave unread.
    std::map<std::string, std::set<PlatformGeneration>> wanted;
    for (const Model* model : models) {
        std::string port = model->name + ".PORT";
        std::set<PlatformGeneration>& generations = wanted[FoldCase(model->name)];
        generations = {kGenerationWin98Me, kGenerationWin2000, kGenerationXP};
        if (!ini.FindSection(port)) {
            Add(FindingKind::kMissingSection, ini.Path(), port, "",
                "the port section of " + model->name + " is missing");
        }
        if (ToInt(ini.Value(port, "SystemNTSupported")) != 0) generations.insert(kGenerationNT4);
        if (ToInt(ini.Value(port, "System2003Supported")) != 0) generations.insert(kGenerationServer2003);
        if (ToInt(ini.Value(port, "SystemVistaSupported")) != 0) generations.insert(kGenerationVista);
        if (ToInt(ini.Value(port, "SystemX64Supported")) != 0) generations.insert(kX64Set);
        for (PlatformGeneration g : generations) {
            std::string section = model->name + SetSuffix(g);
            if (!ini.FindSection(section)) {
                Add(FindingKind::kMissingSection, ini.Path(), section, "",
                    g == kGenerationNT4 || g >= kGenerationServer2003
                        ? "is missing, yet the port section says the model supports it"
                        : "is missing");
            }
        }
        promised_[FoldCase(model->name) + "|" + std::to_string(printerClass)] = generations;
    }
    for (const auto& section : ini.Sections()) {
        size_t dot = section.name.rfind('.');
        std::string model = dot == std::string::npos ? section.name : section.name.substr(0, dot);
        std::string suffix = dot == std::string::npos ? std::string() : section.name.substr(dot);
        auto it = wanted.find(FoldCase(model));
        if (it == wanted.end()) {
            Add(FindingKind::kUnknownSection, ini.Path(), section.name, "",
                "belongs to no model of this class listed in " + std::string(kDeviceList));
            continue;
        }
        if (win::sim::ProfileNamesEqual(suffix, ".PORT")) {
            CheckKeys(ini, section, kPortKeys, nullptr);
            continue;
        }
        PlatformGeneration generation = -1;
        for (PlatformGeneration g = 0; g < kSectionSetCount; ++g) {
            if (win::sim::ProfileNamesEqual(suffix, SetSuffix(g))) generation = g;
        }
        if (generation < 0) {
            Add(FindingKind::kUnknownSection, ini.Path(), section.name, "", "names no Windows generation");
            continue;
        }
        if (!it->second.count(generation)) {
            Add(FindingKind::kUnknownSection, ini.Path(), section.name, "",
                "is never read: the port section says the model does not support this generation");
        }
        CheckKeys(ini, section, kModelKeys, nullptr);
    }
}

void Checker::CheckUninstallCatalogue() {
    static const std::vector<KeyRule> kDllKeys = {{"MonitorPDLLName", ValueKind::kFile, 30, false},
                                                  {"MonitorPUIDLLName", ValueKind::kFile, 30, false},
                                                  {"ProcessorDllName", ValueKind::kFile, 30, false}};
    struct NameSection {
        const char* section;
        const char* countKey;
        const char* entryPrefix;
    };
    static const NameSection kNameSections[] = {{"KXPRINTER", "PRINTERNUM", "PRINTERNAME"},
                                                {"KXMONITOR", "MonitorNUM", "MONITORNAME"},
                                                {"KXPROC", "PROCNUM", "PROCNAME"}};

    // The uninstaller takes the first directory entry whose name holds "Uninstall.ini" in exactly this case.
    std::string path;
    std::string wrongCase;
    for (const char* folder : {"", "DRVCONFIG"}) {
        std::string host = folder[0] ? FindOnMedium(root_, folder) : root_;
        std::error_code error;
        for (const auto& entry :
             std::filesystem::directory_iterator(host.empty() ? "/nonexistent" : host, error)) {
            std::string name = entry.path().filename().string();
            if (name.find("Uninstall.ini") != std::string::npos && path.empty()) {
                path = std::string(folder) + (folder[0] ? "\\" : "") + "Uninstall.ini";
            } else if (FoldCase(name).find("uninstall.ini") != std::string::npos && wrongCase.empty()) {
                wrongCase = std::string(folder) + (folder[0] ? "\\" : "") + name;
            }
        }
        if (!path.empty()) break;
    }
    if (path.empty()) {
        if (!wrongCase.empty()) {
            Add(FindingKind::kMissingFile, wrongCase, "", "",
                "uninstall looks for the name \"Uninstall.ini\" with this case");
        } else {
            Add(FindingKind::kMissingFile, "Uninstall.ini", "", "",
                "is missing from the medium and from DRVCONFIG\\");
        }
        return;
    }
    IniFile ini(root_, path);
    for (const NameSection& names : kNameSections) {
        if (!ini.FindSection(names.section)) {
            Add(FindingKind::kMissingSection, path, names.section, "", "is missing");
            continue;
        }
        NumberedList list{names.countKey, names.entryPrefix, 1, CharacterKey,
                          ": it reads as 0 and matches every name that holds a 0"};
        int count = CheckNumbered(ini, names.section, list);
        if (count > 9) {
            Add(FindingKind::kCountMismatch, path, names.section, names.countKey,
                "is " + std::to_string(count) +
                    ": entries after the ninth are read under keys ending in \":\", \";\"...");
        }
        const auto& section = *ini.FindSection(names.section);
        std::vector<KeyRule> keys = {{names.countKey, ValueKind::kNumber, 30, false}};
        CheckKeys(ini, section, keys, names.entryPrefix);
        for (const auto& entry : section.entries) {
            if (StartsWithFolded(entry.key, names.entryPrefix) &&
                ini.Value(names.section, entry.key).size() >= 30) {
                Add(FindingKind::kTooLong, path, names.section, entry.key,
                    "only the first 29 characters are compared");
            }
        }
    }
    for (const auto& section : ini.Sections()) {
        bool named = false;
        for (const NameSection& names : kNameSections)
            named = named || win::sim::ProfileNamesEqual(section.name, names.section);
        if (named) continue;
        bool dll = false;
        for (const char* suffix : kUninstallSuffixes) dll = dll || EndsWithFolded(section.name, suffix);
        if (dll) {
            CheckKeys(ini, section, kDllKeys, nullptr);
        } else if (EndsWithFolded(section.name, ".XP")) {
            Add(FindingKind::kUnknownSection, path, section.name, "",
                "is never read: on XP uninstall reads the .2K section");
        } else {
            Add(FindingKind::kUnknownSection, path, section.name, "", "the programs never read this section");
        }
    }
}

void Checker::CheckMediumFiles() {
    std::vector<std::string> needed = {"language\\setup.ini", "language\\uninstall.ini", "License.txt",
                                       "DRVCONFIG\\Left.bmp"};
    if (options_.checkFiles) {
        for (const char* file : {"setup.exe", "uninstall.exe", "KxUsbInt.dll", "USBDrv\\Install.exe",
                                 "USBDrv\\BULKUSB.INF", "USBDrv\\bulkusb.sys"}) {
            needed.push_back(file);
        }
    }
    // The x64 edition, where the medium has any of it: all of its programs, its library and its USB kit.
    if (options_.checkFiles && HasX64Edition()) {
        for (const char* file : {"setup64.exe", "uninstall64.exe", "install-printer64.exe", "uninstall-printer64.exe",
                                 "KxUsbInt64.dll", "USBDrv\\x64\\Install.exe", "USBDrv\\x64\\BULKUSB.INF",
                                 "USBDrv\\x64\\bulkusb.sys"}) {
            needed.push_back(file);
        }
    }
    for (const std::string& file : needed) {
        if (FindOnMedium(root_, file).empty()) Add(FindingKind::kMissingFile, file, "", "", "is missing");
    }
}

// The texts setup shows when it refuses a model, a port or a Windows: without one the refusal is an empty box.
void Checker::CheckRefusalTexts() {
    const char kLanguageFile[] = "language\\setup.ini";
    IniFile language(root_, kLanguageFile);
    if (!language.Present()) return;
    for (const char* key : {"IDS_NOTSUPPORTNT", "IDS_NOTSUPPORT2003", "IDS_NOTSUPPORTVISTA", "IDS_NOTSUPPORT64",
                            "IDS_ERR_NOSUPPORTINTERFACE", "IDS_ERR_NOSUPPORTUSB"}) {
        if (language.Value("Message", key, "").empty())
            Add(FindingKind::kNotSet, kLanguageFile, "Message", key, "is missing: that refusal would show no text");
    }
    // The x64 edition's refusal of a model without x64 drivers, and the PE32 uninstaller's without its twin.
    if (X64Promised() && language.Value("Message", "IDS_NOTSUPPORTX64", "").empty())
        Add(FindingKind::kNotSet, kLanguageFile, "Message", "IDS_NOTSUPPORTX64",
            "is missing: the x64 edition's refusal of a model without x64 drivers would show no text");
    const char kUninstallLanguage[] = "language\\uninstall.ini";
    IniFile uninstallTexts(root_, kUninstallLanguage);
    if (uninstallTexts.Present() && uninstallTexts.Value("Message", "IDS_NOTSUPPORT64", "").empty())
        Add(FindingKind::kNotSet, kUninstallLanguage, "Message", "IDS_NOTSUPPORT64",
            "is missing: uninstall.exe on 64-bit Windows without uninstall64.exe would refuse with a fixed text");
}

// A text longer than its control is cut on screen, often in the middle of a word.
void Checker::CheckTextFit(const std::string& folder) {
    for (const TextUse& use : TextUses()) {
        const std::string file = folder + "\\" + use.file;
        IniFile texts(root_, file);
        if (!texts.Present() || !texts.HasKey(use.section, use.key)) continue;
        std::string text = texts.Value(use.section, use.key, "");
        size_t name = text.find("%s");
        if (name != std::string::npos) text.replace(name, 2, kSampleName);
        const win::sim::ResourceScript& script =
            std::string(use.file) == "setup.ini" ? SetupTemplates() : UninstallTemplates();
        const win::sim::ControlTemplate* control = script.dialogs.at(use.dialog).Control(use.control);
        if (control == nullptr) continue;
        std::string why = WhyNotFitting(text, *control, RoomKind(*control, use.entry));
        if (why.empty()) continue;
        std::string where = use.entry ? "an entry of control " : "control ";
        if (name != std::string::npos) why += " (with " + std::string(kSampleName) + " for %s)";
        Add(FindingKind::kDoesNotFit, file, use.section, use.key,
            "\"" + text + "\" does not fit " + where + std::to_string(use.control) + " of dialog " +
                std::to_string(use.dialog) + ": " + why);
    }
}

bool Checker::OnMedium(const std::string& name, PlatformGeneration generation) {
    std::string folder = SourceFolder(generation);
    auto cached = folderNames_.find(folder);
    if (cached == folderNames_.end()) {
        cached = folderNames_.emplace(folder, FoldedNames(FindOnMedium(root_, folder))).first;
    }
    return cached->second.count(FoldCase(name)) != 0;
}

void Checker::CheckPresent(const std::string& file, const std::string& section, const std::string& key,
                           const std::string& name, PlatformGeneration generation) {
    if (IsUnset(name) || !IsPlainName(name)) return;
    if (generation >= kGenerationWin2000 && IsSystemDriverFile(name)) return;
    if (!OnMedium(name, generation)) {
        Add(FindingKind::kMissingFile, file, section, key,
            "file \"" + name + "\" is missing from " + SourceFolder(generation) + "\\");
    }
}

// The files setup copies under its own names, for the models and generations the installation would
// copy them: one finding per file and generation, naming the models that need it.
void Checker::CheckFixedDriverFiles(ModelConfig& config) {
    for (int id = 0; id < kFixedDriverFileCount; ++id) {
        const FixedDriverFile& file = GetFixedDriverFile(static_cast<FixedDriverFileId>(id));
        for (PlatformGeneration g = 0; g < kGenerationCount; ++g) {
            // From 2000 on Windows supplies its own unidriver files, as for the model files' names.
            if (g >= kGenerationWin2000 && IsSystemDriverFile(file.name)) continue;
            std::vector<std::string> models;
            for (const Model& model : models_) {
                const std::string modelKey = FoldCase(model.name) + "|" + std::to_string(model.printerClass);
                auto promised = promised_.find(modelKey);
                if (promised == promised_.end() || !promised->second.count(g)) continue;
                config.SetPrinterClass(model.printerClass);
                bool needed = false;
                for (DriverKind kind = kDriverKindStd; kind <= kDriverKindGdi && !needed; ++kind) {
                    bool usesDdk = config.UsesDdkDependentFiles(model.name.c_str(), g, kind);
                    needed = FixedDriverFileApplies(static_cast<FixedDriverFileId>(id), model.name, g,
                                                    usesDdk);
                }
                if (needed) models.push_back(model.name);
            }
            if (models.empty() || OnMedium(file.name, g)) continue;
            std::string names;
            for (const std::string& model : models) names += (names.empty() ? "" : ", ") + model;
            std::string when = file.need == FixedFileNeed::kWhenWindowsLacksIt
                                   ? " when Windows has lost its own copy and its backup"
                                   : file.need == FixedFileNeed::kUnlessWindowsHasIt
                                         ? " when Windows' own store has none"
                                         : "";
            Add(FindingKind::kMissingFile, SourceFolder(g) + "\\" + file.name, "", "",
                std::string("is missing: on ") + SetLabel(g) +
                    " setup copies it by this name for " + names + when);
        }
    }
}

// The names setup copies, as ModelConfig hands them to it.
void Checker::CheckDriverFiles() {
    win::sim::SimPlatform sim;
    std::error_code error;
    sim.windows().MapDrive('M', std::filesystem::absolute(root_, error).string());
    sim.windows().moduleFileName = "M:\\setup.exe";
    sim.windows().currentDirectory = "M:\\";
    ModelConfig config(sim.platform());
    // The x64 edition's view of the same medium, for the x64 set.
    win::sim::SimPlatform sim64(win::kArchitectureX64);
    sim64.windows().MapDrive('M', std::filesystem::absolute(root_, error).string());
    sim64.windows().moduleFileName = "M:\\setup64.exe";
    sim64.windows().currentDirectory = "M:\\";
    ModelConfig config64(sim64.platform());
    auto configOf = [&](PlatformGeneration g) -> ModelConfig& { return g == kX64Set ? config64 : config; };
    auto generationOf = [](PlatformGeneration g) { return g == kX64Set ? kGenerationVista : g; };

    struct Slot {
        size_t offset;
        const char* key;
    };
    static const Slot kSlots[] = {
        {DriverFileSet::kDriverPath, "DriverPath"},         {DriverFileSet::kDataFile, "DataFile"},
        {DriverFileSet::kConfigFile, "ConfigFile"},         {DriverFileSet::kHelpFile, "HelpFile"},
        {DriverFileSet::kProcessorDll, "ProcessorDLLName"}, {DriverFileSet::kDataFileDll, "DataFileDLLName"},
        {DriverFileSet::kOemUnidrvDll, "DataOemuniDLL"},    {DriverFileSet::kOemUnidrvIni, "DataOemuniini"},
        {DriverFileSet::kOemUiDll, "DataOemuiDLL"},
    };
    for (const Model& model : models_) {
        auto promised = promised_.find(FoldCase(model.name) + "|" + std::to_string(model.printerClass));
        if (promised == promised_.end()) continue;
        config.SetPrinterClass(model.printerClass);
        config64.SetPrinterClass(model.printerClass);
        for (PlatformGeneration g : promised->second) {
            // The x64 files are the x64 edition's: checked where the medium has it.
            if (g == kX64Set && !HasX64Edition()) continue;
            std::string section = model.name + SetSuffix(g);
            for (DriverKind kind = kDriverKindStd; kind <= kDriverKindGdi; ++kind) {
                DriverFileSet set{};
                configOf(g).GetDriverFiles(model.name.c_str(), generationOf(g), set, kind);
                for (const Slot& slot : kSlots) {
                    CheckPresent(kClassFiles[model.printerClass], section,
                                 kKindPrefixes[kind] + std::string(slot.key), set.Slot(slot.offset), g);
                }
            }
        }
    }
    CheckFixedDriverFiles(config);
    for (PlatformGeneration g = 0; g < kSectionSetCount; ++g) {
        if (g == kX64Set && (!HasX64Edition() || !X64Promised())) continue;
        MonitorPair pair{};
        configOf(g).GetMonitorInfo(generationOf(g), pair);
        std::string section = std::string("COMMON-MONITOR") + SetSuffix(g);
        CheckPresent(kDeviceList, section, "COMMONitorPDLLName", pair.comMonitor.pDLLName, g);
        CheckPresent(kDeviceList, section, "COMMONitorPUIDLLName", pair.comUiDllName, g);
        CheckPresent(kDeviceList, section, "USBMONitorPDLLName", pair.usbMonitor.pDLLName, g);
        CheckPresent(kDeviceList, section, "USBMONitorPUIDLLName", pair.usbUiDllName, g);
    }
}

bool Checker::Run() {
    IniFile setupIni(root_, kDeviceList);
    if (!setupIni.Present()) return false;
    CheckByteOrderMarks();
    CheckDeviceList(setupIni);
    CheckSetupSections(setupIni);
    for (PrinterClass c = 0; c < kPrinterClassCount; ++c) CheckClassFile(c);
    // Once the class files tell whether any model has x64 drivers.
    if (X64Promised() && !setupIni.FindSection(std::string("COMMON-MONITOR") + SetSuffix(kX64Set))) {
        Add(FindingKind::kMissingSection, kDeviceList, std::string("COMMON-MONITOR") + SetSuffix(kX64Set), "",
            "the x64 port monitors are missing, yet a model's port section says it has x64 drivers");
    }
    CheckUninstallCatalogue();
    CheckMediumFiles();
    CheckRefusalTexts();
    // The texts in use and the English set beside them.
    for (const char* folder : {"language", "language-en"}) CheckTextFit(folder);
    if (options_.checkFiles) CheckDriverFiles();
    return true;
}

}  // namespace

bool CheckMedium(const std::string& mediumDir, const CheckOptions& options, std::vector<Finding>* findings) {
    findings->clear();
    return Checker(mediumDir, options, findings).Run();
}

std::string FormatFinding(const Finding& finding) {
    std::string line = finding.file;
    if (!finding.section.empty()) line += " [" + finding.section + "]";
    if (!finding.key.empty()) line += " " + finding.key;
    return line + ": " + finding.message;
}

}  // namespace medium
