// The machine a contract test runs on: the simulation natively, the real Windows API under Wine.
#pragma once

#include <memory>
#include <string>

#include "platform/Platform.h"

class ContractEnv {
public:
    virtual ~ContractEnv() = default;
    virtual win::Platform& platform() = 0;
    // A fresh, empty directory for this test, as a Windows path without a trailing backslash.
    virtual std::string ScratchDirectory() = 0;
    virtual std::string CurrentDirectory() = 0;
    virtual std::string WindowsDirectory() = 0;
    virtual void WriteFile(const std::string& windowsPath, const std::string& bytes) = 0;
    virtual void RemoveFile(const std::string& windowsPath) = 0;
    // Puts a stand-in DLL that the Windows build has beside the tests, the serial port monitor
    // "VLCOMMON.dll" (ports KXCOM1: to KXCOM8:) or the print processor "VLPRTPRC.dll" (RAW), at the path
    // under the path's own file name. The simulation gets a placeholder and is told what the DLL offers.
    // False when the stand-in is not there.
    virtual bool PlaceStandIn(const std::string& standIn, const std::string& windowsPath) = 0;
    // A program that ends at once with the exit code, and the command line that starts it: the system's
    // cmd.exe told to exit so, or in the simulation a program file the machine ends so.
    virtual std::string ExitingProgram(win::DWORD exitCode, std::string* commandLine) = 0;
    // Wine, where its behaviour deviates from Windows; false for the simulation.
    virtual bool IsWine() = 0;
};

std::unique_ptr<ContractEnv> MakeContractEnv();
