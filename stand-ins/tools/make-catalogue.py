#!/usr/bin/env python3
"""Writes the sample medium's model catalogue, class files and Uninstall.ini from the tables below."""
import os

MEDIUM = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "medium")

CLASS_SUFFIX = {"receipt": "-ReceiptPrinter", "ticket": "-TicketPrinter",
                "label": "-LabelPrinter", "embedded": "-EmbeddedPrinter"}
CLASS_FILE = {"receipt": "setup_receipt.ini", "ticket": "setup_Ticket.ini",
              "label": "setup_Lable.ini", "embedded": "setup_Embedded.ini"}
# Each class has its own printer description (data) files.
CLASS_CODE = {"receipt": "VLRCPT", "ticket": "VLTCKT", "label": "VLLABL", "embedded": "VLEMBD"}

PROCESSOR = "VORLPrint"
PROCESSOR_DLL = "VLPRTPRC.DLL"
COM_MONITOR, COM_DLL, COM_UI = "VORL COM Monitor", "VLCOMMON.DLL", "VLCOMUI.DLL"
USB_MONITOR, USB_DLL, USB_UI = "VORL USB Monitor", "VLUSBMON.DLL", "VLUSBUI.DLL"
COM_VERSION, USB_VERSION, PROCESSOR_VERSION = 3, 4, 2
# The x64 edition's files: the same components built for x64, under names of their own, so that a look at
# the system tells which edition's sections were read.
PROCESSOR_DLL64 = "VLPRTP64.DLL"
COM_DLL64, COM_UI64 = "VLCOM64.DLL", "VLCOMU64.DLL"
USB_DLL64, USB_UI64 = "VLUSB64.DLL", "VLUSBU64.DLL"
# Models without x64 drivers: the x64 edition refuses them.
NO_X64 = {"ZMX-T300", "ZMX-E80"}

# model, class, NT, 2003, Vista, USB, advanced, LPT default, baud rate, attributes, print processor
MODELS = [
    ("ZMX-M530", "receipt", 1, 1, 1, 1, 1, 0, 38400, 576, PROCESSOR),
    ("ZMX-L5", "receipt", 0, 1, 1, 1, 1, 0, 9600, 576, PROCESSOR),
    ("ZMX-L58", "receipt", 0, 1, 0, 1, 0, 0, 9600, 64, PROCESSOR),
    ("ZMX-T300", "ticket", 1, 0, 0, 0, 0, 1, 19200, 576, PROCESSOR),
    ("ZMX-T310", "ticket", 1, 1, 1, 1, 1, 0, 115200, 576, PROCESSOR),
    ("ZMX-B200", "label", 1, 1, 1, 1, 1, 1, 9600, 64, PROCESSOR),
    ("ZMX-B240", "label", 0, 1, 1, 0, 0, 0, 19200, 64, "WinPrint"),
    ("ZMX-E58", "embedded", 1, 1, 1, 0, 1, 0, 9600, 576, PROCESSOR),
    ("ZMX-E80", "embedded", 0, 0, 0, 1, 0, 0, 38400, 64, PROCESSOR),
]
DEFAULT_ENTRY = 1

GENERATIONS = [".98", ".NT", ".2K", ".XP", ".2003", ".Vista", ".x64"]
# Printers of the L5 family share the ports of the ZMX-L5.
USB_FAMILIES = {"ZMX-L58": "ZMX-L5"}


def write_ini(path, sections):
    lines = []
    for name, keys in sections:
        if lines:
            lines.append("")
        lines.append("[%s]" % name)
        lines.extend("%s=%s" % (k, v) for k, v in keys)
    with open(path, "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode("ascii"))


def generation_section(model, klass, suffix, processor):
    code = CLASS_CODE[klass]
    processor_dll = PROCESSOR_DLL if processor != "WinPrint" else "0"
    if suffix == ".x64":
        processor_dll = PROCESSOR_DLL64 if processor != "WinPrint" else "0"
    if suffix == ".98":
        std = [("DriverPath", "UNIDRV.DLL"), ("DataFile", code + ".DRV"), ("ConfigFile", "UNIDRV.DLL"),
               ("HelpFile", "UNIDRV.HLP"), ("DataFileDLLName", "0"), ("DataOemuiDLL", "0"),
               ("DataOemuniDLL", "0"), ("DataOemuniini", "0")]
        gdi = [("DriverPath", "VLGDI98.DRV"), ("DataFile", code + "98.INI"), ("ConfigFile", "VLGDI98.DRV"),
               ("HelpFile", "VLSTD.HLP"), ("DataFileDLLName", "0"), ("DataOemuiDLL", "0"),
               ("DataOemuniDLL", "0"), ("DataOemuniini", "0")]
    elif suffix == ".x64":
        std = [("DriverPath", "VLSTD64.DLL"), ("DataFile", code + ".DAT"), ("ConfigFile", "VLSTDU64.DLL"),
               ("HelpFile", "VLSTD.HLP"), ("DataFileDLLName", "VLRES64.DLL" if model == "ZMX-M530" else "0"),
               ("DataOemuiDLL", "0"), ("DataOemuniDLL", "0"), ("DataOemuniini", "0")]
        gdi = [("DriverPath", "UNIDRV.DLL"), ("DataFile", code + ".GPD"), ("ConfigFile", "UNIDRVUI.DLL"),
               ("HelpFile", "UNIDRV.HLP"), ("DataFileDLLName", "VLRES64.DLL"), ("DataOemuiDLL", "VLOEMU64.DLL"),
               ("DataOemuniDLL", "VLOEMN64.DLL"), ("DataOemuniini", "VLOEMUNI.INI")]
    else:
        std = [("DriverPath", "VLSTDDRV.DLL"), ("DataFile", code + ".DAT"), ("ConfigFile", "VLSTDUI.DLL"),
               ("HelpFile", "VLSTD.HLP"), ("DataFileDLLName", "VLRES.DLL" if model == "ZMX-M530" else "0"),
               ("DataOemuiDLL", "0"), ("DataOemuniDLL", "0"), ("DataOemuniini", "0")]
        gdi = [("DriverPath", "UNIDRV.DLL"), ("DataFile", code + ".GPD"), ("ConfigFile", "UNIDRVUI.DLL"),
               ("HelpFile", "UNIDRV.HLP"), ("DataFileDLLName", "VLRES.DLL"), ("DataOemuiDLL", "VLOEMUI.DLL"),
               ("DataOemuniDLL", "VLOEMUNI.DLL"), ("DataOemuniini", "VLOEMUNI.INI")]
    keys = [("STDDriverName", "VORL " + model)]
    keys += [("STD" + k, v) for k, v in std]
    keys += [("STDProcessorDLLName", processor_dll), ("STDPrintProcessor", processor), ("STD2KDDKDEV", "0")]
    keys += [("GDIDriverName", "VORL %s Raster" % model)]
    keys += [("GDI" + k, v) for k, v in gdi]
    keys += [("GDIProcessorDLLName", processor_dll), ("GDIPrintProcessor", processor),
             ("GDI2KDDKDEV", "0" if suffix in (".98", ".NT") else "1")]
    return keys


def usb_port_model(model):
    return USB_FAMILIES.get(model, model)


def main():
    drvconfig = os.path.join(MEDIUM, "DRVCONFIG")
    os.makedirs(drvconfig, exist_ok=True)

    usb_ports = []
    for m in MODELS:
        if m[5] and usb_port_model(m[0]) == m[0]:
            usb_ports += ["USB_%s_%d" % (m[0], n) for n in range(1, 5)]
    device = [("DEVICENUMBER", str(len(MODELS)))]
    device += [("DEVICENAME%d" % (i + 1), m[0] + CLASS_SUFFIX[m[1]]) for i, m in enumerate(MODELS)]
    device += [("DEFAULTNAME", str(DEFAULT_ENTRY))]
    sections = [("DEVICENAME", device)]
    for suffix in GENERATIONS:
        x64 = suffix == ".x64"
        sections.append(("COMMON-MONITOR" + suffix, [
            ("COMMONitorPName", COM_MONITOR), ("COMMONitorPDLLName", COM_DLL64 if x64 else COM_DLL),
            ("COMMONitorPUIDLLName", COM_UI64 if x64 else COM_UI), ("COMMONitorVersion", str(COM_VERSION)),
            ("USBMONitorPName", USB_MONITOR), ("USBMONitorPDLLName", USB_DLL64 if x64 else USB_DLL),
            ("USBMONitorPUIDLLName", USB_UI64 if x64 else USB_UI), ("USBMONitorVersion", str(USB_VERSION))]))
    sections.append(("ProcessorVersion", [("DriverVersion", str(PROCESSOR_VERSION))]))
    sections.append(("SUPPORTED-USB-DEVICE", [("PRNCOUNT", str(len(usb_ports)))] +
                     [(str(i), p) for i, p in enumerate(usb_ports)]))
    write_ini(os.path.join(drvconfig, "setup.ini"), sections)

    for klass, file_name in CLASS_FILE.items():
        sections = []
        for (model, k, nt, s2003, vista, usb, advanced, lpt, baud, attributes, processor) in MODELS:
            if k != klass:
                continue
            x64 = 0 if model in NO_X64 else 1
            supported = {".98": 1, ".NT": nt, ".2K": 1, ".XP": 1, ".2003": s2003, ".Vista": vista, ".x64": x64}
            for suffix in GENERATIONS:
                if supported[suffix]:
                    keys = generation_section(model, klass, suffix, processor)
                    keys.append(("ATTRIBUTES", str(attributes)))
                    sections.append((model + suffix, keys))
            sections.append((model + ".PORT", [
                ("AdvancedSetup", advanced), ("SystemNTSupported", nt), ("System2003Supported", s2003),
                ("SystemVistaSupported", vista), ("SystemX64Supported", x64), ("BaudRate", baud), ("USBSUPPORTED", usb),
                ("LPTDEFAULT", lpt)]))
        write_ini(os.path.join(drvconfig, file_name), sections)

    # What uninstall may remove, and the files of each monitor and processor per generation.
    uninstall = [
        ("KXPRINTER", [("PRINTERNUM", "1"), ("PRINTERNAME1", "VORL ZMX-")]),
        ("KXMONITOR", [("MonitorNUM", "2"), ("MONITORNAME1", COM_MONITOR), ("MONITORNAME2", USB_MONITOR)]),
        ("KXPROC", [("PROCNUM", "1"), ("PROCNAME1", PROCESSOR)]),
    ]
    for suffix in [".98", ".NT", ".2K", ".2003", ".Vista", ".x64"]:
        x64 = suffix == ".x64"
        uninstall.append((COM_MONITOR.replace(" ", "") + suffix,
                          [("MonitorPDLLName", COM_DLL64 if x64 else COM_DLL),
                           ("MonitorPUIDLLName", COM_UI64 if x64 else COM_UI)]))
        uninstall.append((USB_MONITOR.replace(" ", "") + suffix,
                          [("MonitorPDLLName", USB_DLL64 if x64 else USB_DLL),
                           ("MonitorPUIDLLName", USB_UI64 if x64 else USB_UI)]))
        uninstall.append((PROCESSOR + suffix, [("ProcessorDllName", PROCESSOR_DLL64 if x64 else PROCESSOR_DLL)]))
    write_ini(os.path.join(MEDIUM, "Uninstall.ini"), uninstall)


if __name__ == "__main__":
    main()
