// Contract tests natively: each test gets a simulated machine of its own.
#include <filesystem>
#include <string>
#include <vector>

#include "platform/sim/SimPlatform.h"
#include "tests/support/ContractEnv.h"

namespace {

class SimContractEnv : public ContractEnv {
public:
    win::Platform& platform() override { return sim_.platform(); }
    std::string ScratchDirectory() override {
        std::string dir = "C:\\SCRATCH" + std::to_string(++count_);
        std::filesystem::create_directories(sim_.windows().HostPath(dir));
        return dir;
    }
    std::string CurrentDirectory() override { return sim_.windows().currentDirectory; }
    std::string WindowsDirectory() override { return sim_.windows().windowsDirectory; }
    void WriteFile(const std::string& path, const std::string& bytes) override { sim_.windows().WriteFile(path, bytes); }
    void RemoveFile(const std::string& path) override { std::filesystem::remove(sim_.windows().HostPath(path)); }
    bool PlaceStandIn(const std::string& standIn, const std::string& path) override {
        std::string file = path.substr(path.find_last_of('\\') + 1);
        if (standIn == "VLCOMMON.dll") {
            std::vector<std::string> ports;
            for (int i = 1; i <= 8; ++i) ports.push_back("KXCOM" + std::to_string(i) + ":");
            sim_.spooler().DefineMonitorPorts(file, ports);
        } else if (standIn == "VLPRTPRC.dll") {
            sim_.spooler().DefineProcessorDatatypes(file, {"RAW"});
        } else {
            return false;
        }
        sim_.windows().WriteFile(path, "placeholder");
        return true;
    }
    std::string ExitingProgram(win::DWORD exitCode, std::string* commandLine) override {
        std::string path = "C:\\WINDOWS\\system32\\exit" + std::to_string(exitCode) + ".exe";
        sim_.windows().WriteFile(path, "MZ");
        std::string lower = path;
        for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        sim_.windows().programExitCodes[lower] = exitCode;
        *commandLine = "\"" + path + "\" /c exit " + std::to_string(exitCode);
        return path;
    }
    bool IsWine() override { return false; }

private:
    win::sim::SimPlatform sim_;
    int count_ = 0;
};

}  // namespace

std::unique_ptr<ContractEnv> MakeContractEnv() { return std::make_unique<SimContractEnv>(); }
