#!/usr/bin/env python3
"""Writes the language files of the sample medium: Chinese in code page 936 and English, CR LF line ends."""
import os

MEDIUM = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "medium")
# The USB driver installer's window; uninstall waits for this caption too.
USB_INSTALLER_CAPTION = "VORL print system setup"

SETUP_ZH = [
    ("Setup", [
        ("Caption", "热敏打印机驱动程序安装"),
        ("Help", "请按提示完成安装"),
        ("Back", "< 上一步(&B)"),
        ("Next", "下一步(&N) >"),
        ("Install", "安装(&I)"),
        ("Cancel", "取消"),
        ("Close", "请先关闭打印机卸载程序，再运行安装程序。"),
        ("CaptionName", USB_INSTALLER_CAPTION),
    ]),
    ("About", [
        ("Caption", "关于 打印机驱动安装程序"),
        ("OK", "确定"),
        ("Version", "打印机驱动安装程序 版本 3.0"),
        ("Copyright", "版权所有 (C) 2024 VORL"),
    ]),
    ("System", [("Select", "请确认当前操作系统")]),
    ("Series", [
        ("Select", "请选择打印机型号"),
        ("Receipt", "票据打印机"),
        ("Ticket", "小票打印机"),
        ("Label", "标签打印机"),
        ("Embedded", "嵌入式打印机"),
        ("Default", "设为默认打印机"),
    ]),
    ("Mode", [
        ("Type", "安装方式"),
        ("Typical", "典型安装"),
        ("Advanced", "高级安装"),
        ("Remarks", "说明:"),
        ("Note1", "典型安装：安装普通打印机驱动程序"),
        ("Note2", "高级安装：可选择四个USB端口之一，"),
        ("Note3", "并可选择光栅打印驱动程序"),
    ]),
    ("Legal", [
        ("Agreement", "软件许可协议书"),
        ("Accept", "我接受所有的软件许可条款"),
        ("Reject", "我拒绝接受所有的许可条款"),
    ]),
    ("Confirm", [
        ("Set", "端口设置"),
        ("Ports", "端口："),
        ("Com", "串口设置"),
        ("BaudRate", "波特率："),
        ("Parity", "校验位："),
        ("ByteSize", "数据位："),
        ("StopBits", "停止位："),
        ("Protocol", "流控制："),
        ("Raster", "光栅打印"),
        ("Parity.Even", "偶校验"),
        ("Parity.Mark", "标记"),
        ("Parity.None", "无"),
        ("Parity.Odd", "奇校验"),
        ("Parity.Space", "空格"),
        ("Protocol.None", "无"),
        ("Protocol.Xonoff", "Xon/Xoff"),
        ("Protocol.Hardware", "硬件"),
    ]),
    ("Progress", [("Wait", "正在安装打印机驱动程序，请稍候……")]),
    ("Message", [
        ("IDS_ABOUTBOX", "关于 Quarvel(&A)..."),
        ("IDS_ERR_NOLEFT", "无法找到Left.bmp文件！"),
        ("IDS_ERR_SYSTEM", "本程序不支持当前系统.\\1请点击“取消”按钮退出程序"),
        ("IDS_NOTSUPPORTNT", "此种打印机不支持WINDOWS NT系统"),
        ("IDS_NOTSUPPORT2003", "此种打印机不支持WINDOWS SEVER 2003系统"),
        ("IDS_NOTSUPPORTVISTA", "此种打印机不支持WINDOWS Vista系统"),
        ("IDS_NOTSUPPORTX64", "此种打印机不支持64位WINDOWS系统"),
        ("IDS_NOTSUPPORT64", "这是64位Windows系统，需要安装盘上的64位版本（setup64.exe、install-printer64.exe），但安装盘上没有"),
        ("IDS_TYPICAL_NOTES", "典型安装：安装默认的打印机驱动程序"),
        ("IDS_ERR_NOLICENSE", "无法找到License.txt文件！"),
        ("IDS_ERR_SELPRINTER", "请先选择打印机"),
        ("IDS_ERR_NOSUPPORTINTERFACE", "不支持该接口驱动的安装"),
        ("IDS_ERR_NOSUPPORTUSB", "WindowsNT4及早期版本不支持USB"),
        ("IDS_ERR_NOUSBDEVICE", "需要联机安装该驱动程序，请先连接USB接口打印机"),
        ("IDS_INF_CHANGEID", "程序将改变当前USB设备的名称\\1设备名称更改后与当前USB接口名称匹配\\2\\3"
                             "如果继续请点击“是”，否则点击“否”，然后为打印机选择其他接口"),
        ("IDS_INF_RESTART", "重新启动系统使设置生效\\1点击“是”立即重启系统\\2点击\"否\"以后重启"),
        ("IDS_ERR_EXITWIN", "重启系统错误"),
        ("IDS_INF_NTRESTART", "打印机驱动程序安装完成！\\1如果打印机不能正常工作，请重新启动计算机。"),
        ("IDS_INF_USBRESTART", "USB打印机驱动程序安装完成！\\1请重新连接打印机的USB线，\\2"
                               "如果仍不能打印，请重新启动计算机。"),
        ("IDS_ERR_NEEDRESTART", "发生系统错误，重新启动系统后，再次安装"),
        ("IDS_ERR_LOSTDRIVERFILE", "驱动文件丢失，无法安装"),
        ("IDS_ERR_COPYFIEL", "复制驱动文件错误"),
        ("IDS_ERR_GETCURDIR", "获取系统当前目录错误"),
        ("IDS_ERR_GETDRIVERDIR", "获取打印机驱动目录错误"),
        ("IDS_ERR_GETPRODIR", "获取打印机打印处理器目录目录错误"),
        ("IDS_ERR_GETSYSDIR", "获取系统目录错误"),
        ("IDS_ERR_GETWINDIR", "获取windows目录错误"),
        ("IDS_ERR_DIRTYPE", "目录类型错误"),
        ("IDS_ERR_ALLOCMEMORY", "内存不足，程序无法分配必须的内存"),
        ("IDS_ERR_ADDPRINTER", "添加打印机错误"),
        ("IDS_ERR_TOOMANY", "允许安装使用同一端口的打印机最大数量已到"),
        ("IDS_ERR_ADDPRNDRV3", "添加打印机驱动错误"),
        ("IDS_ERR_ADDMONITOR", "添加打印机端口监视器错误"),
        ("IDS_ERR_ADDPROCESSOR", "添加打印处理器失败，系统错误，重启系统再试"),
        ("IDS_ERR_ONEPRINTER", "安装过程中，请仅连接一台打印机"),
        ("IDS_INF_TESTPAGE", "现在打印测试页吗？\\1测试页可以确认打印机和新驱动程序能正常工作。"),
        ("IDS_INF_TESTPAGEDONE", "测试页已发送到打印机。\\1如果没有打印，请检查连接线和端口设置。"),
        ("IDS_ERR_TESTPAGE", "打印机未能接收测试页。"),
    ]),
]

SETUP_EN = [
    ("Setup", [
        ("Caption", "Thermal printer driver setup"),
        ("Help", "Follow the steps"),
        ("Back", "< &Back"),
        ("Next", "&Next >"),
        ("Install", "&Install"),
        ("Cancel", "Cancel"),
        ("Close", "Please close the printer uninstaller first, then run setup again."),
        ("CaptionName", USB_INSTALLER_CAPTION),
    ]),
    ("About", [
        ("Caption", "About printer driver setup"),
        ("OK", "OK"),
        ("Version", "Driver setup version 3.0"),
        ("Copyright", "Copyright (C) 2024 VORL"),
    ]),
    ("System", [("Select", "Confirm the operating system")]),
    ("Series", [
        ("Select", "Choose the printer model"),
        ("Receipt", "Receipt"),
        ("Ticket", "Ticket"),
        ("Label", "Label"),
        ("Embedded", "Embedded"),
        ("Default", "Set as default"),
    ]),
    ("Mode", [
        ("Type", "Install mode"),
        ("Typical", "Typical"),
        ("Advanced", "Advanced"),
        ("Remarks", "Note:"),
        ("Note1", "Typical: installs the standard driver"),
        ("Note2", "Advanced: choose one of four USB ports,"),
        ("Note3", "and optionally the raster driver"),
    ]),
    ("Legal", [
        ("Agreement", "Software licence agreement"),
        ("Accept", "I accept the licence terms"),
        ("Reject", "I decline the terms"),
    ]),
    ("Confirm", [
        ("Set", "Port settings"),
        ("Ports", "Port:"),
        ("Com", "Serial settings"),
        ("BaudRate", "Baud:"),
        ("Parity", "Parity:"),
        ("ByteSize", "Data:"),
        ("StopBits", "Stop:"),
        ("Protocol", "Flow ctrl:"),
        ("Raster", "Raster driver"),
        ("Parity.Even", "Even"),
        ("Parity.Mark", "Mark"),
        ("Parity.None", "None"),
        ("Parity.Odd", "Odd"),
        ("Parity.Space", "Space"),
        ("Protocol.None", "None"),
        ("Protocol.Xonoff", "Xon/Xoff"),
        ("Protocol.Hardware", "Hardware"),
    ]),
    ("Progress", [("Wait", "Installing the printer driver, please wait...")]),
    ("Message", [
        ("IDS_ABOUTBOX", "About Quarvel(&A)..."),
        ("IDS_ERR_NOLEFT", "Cannot find the file Left.bmp!"),
        ("IDS_ERR_SYSTEM", "This program does not support the running system.\\1Click \"Cancel\" to quit."),
        ("IDS_NOTSUPPORTNT", "This printer does not support Windows NT"),
        ("IDS_NOTSUPPORT2003", "This printer does not support Windows Server 2003"),
        ("IDS_NOTSUPPORTVISTA", "This printer does not support Windows Vista"),
        ("IDS_NOTSUPPORTX64", "This printer does not support 64-bit Windows"),
        ("IDS_NOTSUPPORT64", "This is a 64-bit Windows: it needs the 64-bit edition of the medium (setup64.exe, install-printer64.exe), which is missing"),
        ("IDS_TYPICAL_NOTES", "Typical: installs the default driver"),
        ("IDS_ERR_NOLICENSE", "Cannot find the file License.txt!"),
        ("IDS_ERR_SELPRINTER", "Please choose a printer first"),
        ("IDS_ERR_NOSUPPORTINTERFACE", "Installing a driver for this interface is not supported"),
        ("IDS_ERR_NOSUPPORTUSB", "Windows NT 4 and earlier do not support USB"),
        ("IDS_ERR_NOUSBDEVICE", "This driver must be installed with the printer connected: "
                                "please connect the USB printer first"),
        ("IDS_INF_CHANGEID", "Setup will change the name of the connected USB device\\1"
                             "so that it matches the chosen USB port.\\2\\3"
                             "Click \"Yes\" to continue, or \"No\" and choose another port for the printer."),
        ("IDS_INF_RESTART", "Restart the system for the settings to take effect.\\1"
                            "Click \"Yes\" to restart now,\\2click \"No\" to restart later."),
        ("IDS_ERR_EXITWIN", "Restarting the system failed"),
        ("IDS_INF_NTRESTART", "The printer driver is installed.\\1"
                              "If the printer does not work, restart the computer."),
        ("IDS_INF_USBRESTART", "The USB printer driver is installed.\\1Reconnect the printer's USB cable;\\2"
                               "if it still does not print, restart the computer."),
        ("IDS_ERR_NEEDRESTART", "A system error occurred: restart the system and install again"),
        ("IDS_ERR_LOSTDRIVERFILE", "Driver files are missing: cannot install"),
        ("IDS_ERR_COPYFIEL", "Copying a driver file failed"),
        ("IDS_ERR_GETCURDIR", "Cannot read the current directory"),
        ("IDS_ERR_GETDRIVERDIR", "Cannot read the printer driver directory"),
        ("IDS_ERR_GETPRODIR", "Cannot read the print processor directory"),
        ("IDS_ERR_GETSYSDIR", "Cannot read the system directory"),
        ("IDS_ERR_GETWINDIR", "Cannot read the Windows directory"),
        ("IDS_ERR_DIRTYPE", "Unknown directory kind"),
        ("IDS_ERR_ALLOCMEMORY", "Out of memory: the program cannot allocate the memory it needs"),
        ("IDS_ERR_ADDPRINTER", "Adding the printer failed"),
        ("IDS_ERR_TOOMANY", "The most printers allowed on one port are installed"),
        ("IDS_ERR_ADDPRNDRV3", "Adding the printer driver failed"),
        ("IDS_ERR_ADDMONITOR", "Adding the port monitor failed"),
        ("IDS_ERR_ADDPROCESSOR", "Adding the print processor failed: restart the system and try again"),
        ("IDS_ERR_ONEPRINTER", "Connect only one printer during the installation"),
        ("IDS_INF_TESTPAGE", "Print a test page now?\\1It shows that the printer works with its new driver."),
        ("IDS_INF_TESTPAGEDONE", "The test page was sent to the printer.\\1If nothing prints, check the cable and the port settings."),
        ("IDS_ERR_TESTPAGE", "The printer did not take the test page."),
    ]),
]

UNINSTALL_ZH = [
    ("Uninstall", [
        ("Title", "打印机卸载程序"),
        ("Note", "请选择要卸载的打印机、端口监视器和打印处理器："),
        ("Uninstall", "卸载(&U)"),
        ("Select", "全选(&S)"),
        ("Exit", "退出(&E)"),
        ("Close", "请先关闭打印机驱动安装程序，再运行卸载程序。"),
    ]),
    ("Reboot", [
        ("Title", "重新启动计算机"),
        ("Note1", "您需要重新启动计算机使卸载生效"),
        ("Note2", "点击“是”立即重启系统"),
        ("Note3", "点击“否”稍后重启"),
        ("Yes", "是(&Y)"),
        ("No", "否(&N)"),
    ]),
    ("About", [
        ("Title", "关于 打印机卸载程序"),
        ("Version", "Uninstall 版本： 2.0"),
        ("Copyright", "版权所有 (C) 2024 VORL"),
        ("OK", "确定"),
    ]),
    ("Message", [
        ("IDS_ABOUTBOX", "关于 Uninstall(&A)..."),
        ("IDS_ADMIN", "卸载程序必须在管理员权限下运行！"),
        ("IDS_ERR_GETSYSDIR", "无法获取当前目录！"),
        ("IDS_ERR_INVALID", "没有找到配置文件！"),
        ("IDS_ERR_NOINI", "没有找到配置文件Uninstall.ini！"),
        ("IDS_ERR_NOPRINTER", "没有可卸载的打印机！"),
        ("IDS_SELECTPRN1", "请选择要卸载的打印机及组件。"),
        ("IDS_DELETING1", "正在删除 %s ..."),
        ("IDS_DELETING2", "正在删除打印机 %s ..."),
        ("IDS_SUCCESS", "%s 被成功删除！"),
        ("IDS_USING", "%s 正在被使用，无法删除！"),
        ("IDS_ERR_UNINSTALL", "卸载 %s 时出现错误！"),
        ("IDS_ERR_OPENPRN", "无法打开打印机 %s！"),
        ("IDS_ERR_GETPRNINFO", "无法获取打印机信息！"),
        ("IDS_ERR_ALLOC", "分配内存失败！"),
        ("IDS_ERR_HAVEJOB1", "请先删除打印作业，然后再卸载 %s！"),
        ("IDS_ERR_HAVEJOB2", "请先删除 %s 中的打印作业！"),
        ("IDS_ERR_DELPRINTER", "删除打印机时出现错误！"),
        ("IDS_DRVDELETING", "正在删除 %s 的驱动..."),
        ("IDS_DRV_SUCCESS", "驱动被成功删除！"),
        ("IDS_ERR_DRVUSING", "驱动正在被使用，无法删除！"),
        ("IDS_ERR_DRVDEL", "删除驱动时出现错误！"),
        ("IDS_NOTSUPPORT64", "这是64位Windows系统，需要安装盘上的64位版本（uninstall64.exe、uninstall-printer64.exe），但安装盘上没有"),
        ("IDS_INF_NOTLISTED", "%s 的驱动不在Uninstall.ini中，未删除。"),
    ]),
]

UNINSTALL_EN = [
    ("Uninstall", [
        ("Title", "Uninstall"),
        ("Note", "Tick the printers and components to remove:"),
        ("Uninstall", "&Uninstall"),
        ("Select", "&Select all"),
        ("Exit", "&Exit"),
        ("Close", "Please close the printer driver setup first, then run the uninstaller again."),
    ]),
    ("Reboot", [
        ("Title", "Restart the computer"),
        ("Note1", "Restart to finish the removal."),
        ("Note2", "Yes: restart now"),
        ("Note3", "No: restart later"),
        ("Yes", "&Yes"),
        ("No", "&No"),
    ]),
    ("About", [
        ("Title", "About Uninstall"),
        ("Version", "Uninstall version 2.0"),
        ("Copyright", "Copyright 2024 VORL"),
        ("OK", "OK"),
    ]),
    ("Message", [
        ("IDS_ABOUTBOX", "About Uninstall(&A)..."),
        ("IDS_ADMIN", "The uninstaller must run with administrator rights!"),
        ("IDS_ERR_GETSYSDIR", "Cannot read the current directory!"),
        ("IDS_ERR_INVALID", "No configuration file found!"),
        ("IDS_ERR_NOINI", "The configuration file Uninstall.ini was not found!"),
        ("IDS_ERR_NOPRINTER", "There is no printer to remove!"),
        ("IDS_SELECTPRN1", "Choose the printers and components to remove."),
        ("IDS_DELETING1", "Removing %s ..."),
        ("IDS_DELETING2", "Removing printer %s ..."),
        ("IDS_SUCCESS", "%s was removed."),
        ("IDS_USING", "%s is in use and cannot be removed!"),
        ("IDS_ERR_UNINSTALL", "Removing %s failed!"),
        ("IDS_ERR_OPENPRN", "Cannot open printer %s!"),
        ("IDS_ERR_GETPRNINFO", "Cannot read the printer information!"),
        ("IDS_ERR_ALLOC", "Out of memory!"),
        ("IDS_ERR_HAVEJOB1", "Delete the print jobs first, then remove %s!"),
        ("IDS_ERR_HAVEJOB2", "Delete the print jobs of %s first!"),
        ("IDS_ERR_DELPRINTER", "Removing the printer failed!"),
        ("IDS_DRVDELETING", "Removing the driver of %s ..."),
        ("IDS_DRV_SUCCESS", "The driver was removed."),
        ("IDS_ERR_DRVUSING", "The driver is in use and cannot be removed!"),
        ("IDS_ERR_DRVDEL", "Removing the driver failed!"),
        ("IDS_NOTSUPPORT64", "This is a 64-bit Windows: it needs the 64-bit edition of the medium (uninstall64.exe, uninstall-printer64.exe), which is missing"),
        ("IDS_INF_NOTLISTED", "%s kept: its driver is not in Uninstall.ini"),
    ]),
]


def write(path, sections, encoding):
    lines = []
    for name, keys in sections:
        if lines:
            lines.append("")
        lines.append("[%s]" % name)
        lines.extend("%s=%s" % kv for kv in keys)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode(encoding))


def main():
    write(os.path.join(MEDIUM, "language", "setup.ini"), SETUP_ZH, "cp936")
    write(os.path.join(MEDIUM, "language", "uninstall.ini"), UNINSTALL_ZH, "cp936")
    write(os.path.join(MEDIUM, "language-en", "setup.ini"), SETUP_EN, "ascii")
    write(os.path.join(MEDIUM, "language-en", "uninstall.ini"), UNINSTALL_EN, "ascii")


if __name__ == "__main__":
    main()
