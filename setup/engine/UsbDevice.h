// Reading and setting the ID of the one connected USB printer through the maker's library KxUsbInt.dll,
// which tells printers of the same model apart: the USB port names "_1" to "_4" follow from it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/Platform.h"
#include "shared/LanguageText.h"

// Shows a failure at once: the wizard in a message box, install-printer.exe on its console.
using UsbMessageSink = std::function<void(const std::string& text)>;

constexpr int32_t kUsbNoDevice = -1;  // library or entries missing, no printer, descriptor unreadable
constexpr int32_t kUsbSeveralDevices = -2;

// The 16-bit ID value of the one connected printer (0 to 65535), or kUsbNoDevice / kUsbSeveralDevices.
// Several printers show "IDS_ERR_ONEPRINTER"; no printer at all shows nothing.
int32_t GetUsbDeviceId(win::Platform& platform, const LanguageText& messageText, const UsbMessageSink& show);

// Sends the set-ID command for an ID of 1 to 8 to the first connected printer; true when it was sent.
// Any other ID fails at once, without a message and without loading the library.
bool WriteUsbDeviceId(win::Platform& platform, int id, const UsbMessageSink& show);
