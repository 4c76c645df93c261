// Whether the language files' texts fit the controls that show them, reckoned from the programs' own
// dialog templates in dialog units, without Windows.
//
// The templates use 宋体 (SimSun), whose glyphs are fixed-width: a single-byte character is as wide as the
// font's average character, which is 4 horizontal dialog units by definition, and a double-byte character
// of code page 936 twice that. So a line of text is 4 units per byte of its code-page text, after the "&"
// that marks a mnemonic is taken out, and a line is 8 vertical units high.
#pragma once

#include <string>
#include <vector>

#include "platform/sim/ResourceScript.h"

namespace medium {

// How a control lays out its text, which decides the room it leaves for it.
enum class TextRoom { kStatic, kPushButton, kCheck, kGroupBox, kEdit, kComboEntry, kListEntry };

// The room a control leaves for its text, in dialog units: the width of a line and how many lines.
struct TextSpace {
    int width = 0;
    int lines = 1;
};

// The kind of room a template control gives its own text, or an entry of its list when `entry` is set.
TextRoom RoomKind(const win::sim::ControlTemplate& control, bool entry);
TextSpace RoomOf(const win::sim::ControlTemplate& control, TextRoom room);

// Width in dialog units of one line of code-page-936 text; with `prefixes`, "&x" draws as x and "&&" as &.
int TextWidth(const std::string& line, bool prefixes);

// The lines of a text as the programs show it: the first "\1", "\2" and "\3" of a language file's value
// become line breaks, as do the CR LF pairs of a resource string.
std::vector<std::string> ShownLines(const std::string& text);

// Why a text does not fit a control, or empty when it does.
std::string WhyNotFitting(const std::string& text, const win::sim::ControlTemplate& control, TextRoom room);

// Where a language file's key is shown: its file below language\, section and key, the dialog template
// and the control. A key shown in two places is listed twice.
struct TextUse {
    const char* file;
    const char* section;
    const char* key;
    int dialog;
    int control;
    bool entry;  // an entry of the control's list rather than its own text
};
const std::vector<TextUse>& TextUses();

// The setup and uninstall resource scripts this tool was built with, read once.
const win::sim::ResourceScript& SetupTemplates();
const win::sim::ResourceScript& UninstallTemplates();

// What a text stands for in a line: log texts name a printer in their %s; this is a name of typical length.
constexpr char kSampleName[] = "ZMX-M530(S)";

}  // namespace medium
