// A medium with one receipt model (ZMX-M530) whose driver files exist for every generation, its
// monitors' ports, and the language texts of the install's messages, on a simulated machine.
#pragma once

#include <string>

#include "platform/sim/SimPlatform.h"

inline void WriteInstallMedium(win::sim::SimPlatform& sim) {
    auto& w = sim.windows();
    std::string monitors;
    for (const char* suffix : {".98", ".NT", ".2K", ".XP", ".2003", ".Vista"})
        monitors += std::string("[COMMON-MONITOR") + suffix +
                    "]\r\nCOMMONitorPName=KX COM Monitor\r\nCOMMONitorPDLLName=KXCOM.DLL\r\n"
                    "COMMONitorPUIDLLName=KXCOMUI.DLL\r\nCOMMONitorVersion=3\r\n"
                    "USBMONitorPName=KX USB Monitor\r\nUSBMONitorPDLLName=KXUSB.DLL\r\n"
                    "USBMONitorPUIDLLName=0\r\nUSBMONitorVersion=4\r\n";
    w.WriteFile("C:\\MEDIUM\\DRVCONFIG\\setup.ini",
                "[DEVICENAME]\r\nDEVICENUMBER=1\r\nDEVICENAME1=ZMX-M530-ReceiptPrinter\r\n" + monitors +
                    "[ProcessorVersion]\r\nDriverVersion=2\r\n"
                    "[SUPPORTED-USB-DEVICE]\r\nPRNCOUNT=2\r\n0=USB_ZMX-M530_1\r\n1=USB_ZMX-M530_2\r\n");
    std::string model;
    for (const char* suffix : {".98", ".NT", ".2K", ".XP", ".2003", ".Vista"}) {
        model += std::string("[ZMX-M530") + suffix + "]\r\nATTRIBUTES=64\r\n";
        for (const char* kind : {"STD", "GDI"})
            model += std::string(kind) + "DriverName=KX M530\r\n" + kind +
                     "DriverPath=KXDRV.DLL\r\n" + kind + "DataFile=KXDATA.DAT\r\n" + kind +
                     "ConfigFile=KXUI.DLL\r\n" + kind + "HelpFile=KX.HLP\r\n" + kind + "DataFileDLLName=0\r\n" +
                     kind + "DataOemuiDLL=0\r\n" + kind + "DataOemuniDLL=0\r\n" + kind +
                     "DataOemuniini=0\r\n" + kind + "ProcessorDLLName=KXPROC.DLL\r\n" + kind +
                     "PrintProcessor=KXPrint\r\n";
    }
    w.WriteFile("C:\\MEDIUM\\DRVCONFIG\\setup_receipt.ini",
                model + "[ZMX-M530.PORT]\r\nBaudRate=19200\r\nUSBSUPPORTED=1\r\nSystemNTSupported=0\r\n"
                    "System2003Supported=1\r\nSystemVistaSupported=1\r\n");
    for (const char* dir : {"win98", "winnt", "win2003", "Vista"})
        for (const char* file : {"KXDRV.DLL", "KXDATA.DAT", "KXUI.DLL", "KX.HLP", "KXPROC.DLL", "KXCOM.DLL",
                                 "KXCOMUI.DLL", "KXUSB.DLL", "DMCOLOR.DLL", "ICONLIB.DLL", "UNIDRV.DLL"})
            w.WriteFile(std::string("C:\\MEDIUM\\") + dir + "\\" + file, file);
    w.WriteFile(
        "C:\\MEDIUM\\language\\setup.ini",
        "[Message]\r\nIDS_INF_NTRESTART=done\r\nIDS_INF_USBRESTART=usb done\r\n"
        "IDS_ERR_LOSTDRIVERFILE=lost\r\nIDS_ERR_NEEDRESTART=restart\r\nIDS_ERR_COPYFIEL=copy failed\r\n"
        "IDS_NOTSUPPORTNT=no nt\r\nIDS_ERR_NOSUPPORTINTERFACE=no interface\r\n"
        "IDS_ERR_ADDMONITOR=add monitor\r\nIDS_ERR_ADDPROCESSOR=add processor\r\n"
        "IDS_ERR_GETPRODIR=no processor dir\r\nIDS_ERR_GETCURDIR=no current dir\r\n"
        "IDS_ERR_ALLOCMEMORY=no memory\r\nIDS_ERR_ADDPRNDRV3=add driver\r\n"
        "IDS_ERR_ADDPRINTER=add printer\r\n");
    sim.spooler().DefineMonitorPorts("KXCOM.DLL", {"KXCOM1:", "KXCOM2:"});
    sim.spooler().DefineMonitorPorts("KXUSB.DLL", {"USB_ZMX-M530_1", "USB_ZMX-M530_2"});
    sim.registry().CreateKey(win::HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Ports");
}
