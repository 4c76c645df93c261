// A reader of the resource scripts' dialog templates, string tables and list entries, so that simulated
// dialogs are built from the same source as the real ones.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/Win32Types.h"

namespace win::sim {

// Window and control styles the templates use.
constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_DISABLED = 0x08000000;
constexpr DWORD WS_GROUP = 0x00020000;
constexpr DWORD WS_TABSTOP = 0x00010000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD DS_CONTROL = 0x0400;
constexpr DWORD DS_SETFONT = 0x0040;
constexpr DWORD BS_TYPEMASK = 0x000F;
constexpr DWORD BS_PUSHBUTTON = 0x0;
constexpr DWORD BS_DEFPUSHBUTTON = 0x1;
constexpr DWORD BS_CHECKBOX = 0x2;
constexpr DWORD BS_AUTOCHECKBOX = 0x3;
constexpr DWORD BS_RADIOBUTTON = 0x4;
constexpr DWORD BS_GROUPBOX = 0x7;
constexpr DWORD BS_AUTORADIOBUTTON = 0x9;
constexpr DWORD SS_TYPEMASK = 0x001F;
constexpr DWORD SS_ICON = 0x3;
constexpr DWORD SS_NOPREFIX = 0x80;
constexpr DWORD SS_BLACKFRAME = 0x7;
constexpr DWORD SS_ETCHEDHORZ = 0x10;
constexpr DWORD SS_ETCHEDFRAME = 0x12;
constexpr DWORD ES_MULTILINE = 0x4;
constexpr DWORD ES_READONLY = 0x800;
constexpr DWORD CBS_DROPDOWNLIST = 0x3;
constexpr DWORD CBS_SORT = 0x100;
constexpr DWORD LBS_SORT = 0x2;
constexpr DWORD LVS_LIST = 0x3;

struct ControlTemplate {
    int id = 0;
    std::string className;  // "Button", "Static", "Edit", "ComboBox", "ListBox" or a common control's class
    std::string text;       // in the script's code page
    DWORD style = 0;
    DWORD exStyle = 0;
    int x = 0, y = 0, width = 0, height = 0;
};

struct DialogTemplate {
    int id = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    std::string caption;
    std::string fontFace;
    int fontSize = 0;
    int x = 0, y = 0, width = 0, height = 0;
    std::vector<ControlTemplate> controls;

    const ControlTemplate* Control(int id) const;
};

// An initial entry of a template's list control.
struct ListEntry {
    int controlId = 0;
    std::string text;
};

struct ResourceScript {
    std::map<int, DialogTemplate> dialogs;
    std::map<int, std::string> strings;
    std::map<int, std::vector<ListEntry>> listEntries;  // by dialog template
    std::map<std::string, std::string> defines;
};

// Reads the script at the host path, with the files it includes in quotes from its own folder or the
// folders given; includes in angle brackets are the system's and their names are known without them.
// Returns false with the file, line and reason in `error` when the script is outside the subset read.
bool LoadResourceScript(const std::string& hostPath, const std::vector<std::string>& includeFolders,
                        ResourceScript* script, std::string* error);

// Parses script text; `name` only labels errors.
bool ParseResourceScript(const std::string& text, const std::string& name,
                         const std::vector<std::string>& includeFolders, ResourceScript* script,
                                 std::string* error);

// Parses script text whose quoted includes are the named texts of `files`, for a tool that carries the
// scripts in itself.
bool ParseEmbeddedResourceScript(const std::string& text, const std::string& name,
                                 const std::map<std::string, std::string>& files, ResourceScript* script,
                                 std::string* error);

}  // namespace win::sim
