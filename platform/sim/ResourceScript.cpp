// Reads the subset of resource-script syntax our templates use: the preprocessor's include, define and
// conditionals, dialog templates with their controls, string tables and list-entry resources.
#include "platform/sim/ResourceScript.h"

#include <cctype>
#include <fstream>
#include <sstream>

namespace win::sim {

namespace {

constexpr int kListEntryType = 240;

// Names the system headers give; resource scripts include those headers, which are not read here.
const std::map<std::string, long>& SystemNames() {
    static const std::map<std::string, long> names = {
        {"WS_POPUP", WS_POPUP},
        {"WS_CHILD", WS_CHILD},
        {"WS_VISIBLE", WS_VISIBLE},
        {"WS_DISABLED", WS_DISABLED},
        {"WS_CAPTION", 0x00C00000},
        {"WS_BORDER", 0x00800000},
        {"WS_SYSMENU", 0x00080000},
        {"WS_MINIMIZEBOX", 0x00020000},
        {"WS_VSCROLL", 0x00200000},
        {"WS_HSCROLL", 0x00100000},
        {"WS_GROUP", WS_GROUP},
        {"WS_TABSTOP", WS_TABSTOP},
        {"WS_EX_APPWINDOW", 0x00040000},
        {"WS_EX_CONTROLPARENT", 0x00010000},
        {"DS_MODALFRAME", 0x80},
        {"DS_CENTER", 0x0800},
        {"DS_SETFONT", DS_SETFONT},
        {"DS_CONTROL", DS_CONTROL},
        {"BS_PUSHBUTTON", BS_PUSHBUTTON},
        {"BS_DEFPUSHBUTTON", BS_DEFPUSHBUTTON},
        {"BS_CHECKBOX", BS_CHECKBOX},
        {"BS_AUTOCHECKBOX", BS_AUTOCHECKBOX},
        {"BS_RADIOBUTTON", BS_RADIOBUTTON},
        {"BS_GROUPBOX", BS_GROUPBOX},
        {"BS_AUTORADIOBUTTON", BS_AUTORADIOBUTTON},
        {"SS_LEFT", 0x0},
        {"SS_CENTER", 0x1},
        {"SS_RIGHT", 0x2},
        {"SS_ICON", SS_ICON},
        {"SS_BLACKFRAME", SS_BLACKFRAME},
        {"SS_ETCHEDHORZ", SS_ETCHEDHORZ},
        {"SS_ETCHEDFRAME", SS_ETCHEDFRAME},
        {"SS_NOPREFIX", 0x80},
        {"ES_LEFT", 0x0},
        {"ES_MULTILINE", ES_MULTILINE},
        {"ES_AUTOVSCROLL", 0x40},
        {"ES_AUTOHSCROLL", 0x80},
        {"ES_READONLY", ES_READONLY},
        {"CBS_SIMPLE", 0x1},
        {"CBS_DROPDOWN", 0x2},
        {"CBS_DROPDOWNLIST", CBS_DROPDOWNLIST},
        {"CBS_SORT", CBS_SORT},
        {"LBS_NOTIFY", 0x1},
        {"LBS_SORT", LBS_SORT},
        {"LBS_NOINTEGRALHEIGHT", 0x100},
        {"LVS_REPORT", 0x1},
        {"LVS_LIST", LVS_LIST},
        {"LVS_SHOWSELALWAYS", 0x8},
        {"UDS_ARROWKEYS", 0x20},
        {"IDOK", 1},
        {"IDCANCEL", 2},
        {"IDYES", 6},
        {"IDNO", 7},
        {"LANG_CHINESE", 0x04},
        {"LANG_ENGLISH", 0x09},
        {"SUBLANG_CHINESE_SIMPLIFIED", 0x02},
        {"SUBLANG_ENGLISH_US", 0x01},
        {"VOS__WINDOWS32", 0x4},
        {"VFT_APP", 0x1},
    };
    return names;
}

// The controls written with their own keyword: class, the style without a style argument, and the part
// of it that stays when one is given (windres keeps it; the given style replaces the rest).
struct Keyword {
    const char* className;
    DWORD defaultStyle;
    DWORD baseStyle;
    bool hasText;
};

const std::map<std::string, Keyword>& Keywords() {
    static const std::map<std::string, Keyword> keywords = {
        {"LTEXT", {"Static", WS_GROUP, 0x0, true}},
        {"CTEXT", {"Static", 0x1 | WS_GROUP, 0x1, true}},
        {"RTEXT", {"Static", 0x2 | WS_GROUP, 0x2, true}},
        {"ICON", {"Static", SS_ICON, SS_ICON, true}},
        {"PUSHBUTTON", {"Button", BS_PUSHBUTTON | WS_TABSTOP, BS_PUSHBUTTON | WS_TABSTOP, true}},
        {"DEFPUSHBUTTON", {"Button", BS_DEFPUSHBUTTON | WS_TABSTOP, BS_DEFPUSHBUTTON | WS_TABSTOP, true}},
        {"GROUPBOX", {"Button", BS_GROUPBOX, BS_GROUPBOX, true}},
        {"CHECKBOX", {"Button", BS_CHECKBOX | WS_TABSTOP, BS_CHECKBOX, true}},
        {"AUTOCHECKBOX", {"Button", BS_AUTOCHECKBOX | WS_TABSTOP, BS_AUTOCHECKBOX, true}},
        {"RADIOBUTTON", {"Button", BS_RADIOBUTTON | WS_TABSTOP, BS_RADIOBUTTON, true}},
        {"AUTORADIOBUTTON", {"Button", BS_AUTORADIOBUTTON | WS_TABSTOP, BS_AUTORADIOBUTTON, true}},
        {"EDITTEXT", {"Edit", 0x00800000 | WS_TABSTOP, 0x00800000 | WS_TABSTOP, false}},
        {"COMBOBOX", {"ComboBox", 0x1 | WS_TABSTOP, 0x0, false}},
        {"LISTBOX", {"ListBox", 0x1 | 0x00800000, 0x0, false}},
    };
    return keywords;
}

struct Token {
    enum Kind { kEnd, kNumber, kName, kString, kPunct } kind = kEnd;
    std::string text;
    long number = 0;
    bool wide = false;  // a number with the L suffix: four bytes in raw data
    std::string file;
    int line = 0;
};

// A style expression's value: the bits it sets and the bits NOT clears.
struct Value {
    long set = 0;
    long clear = 0;
};

struct Argument {
    bool isString = false;
    std::string text;
    Value value;
};

std::string StripComments(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    bool inString = false;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (inString) {
            out += c;
            if (static_cast<unsigned char>(c) >= 0x81 && i + 1 < text.size()) {
                out += text[++i];  // the trail byte of a double-byte character is never a quote or escape
            } else if (c == '\\' && i + 1 < text.size()) {
                out += text[++i];
            } else if (c == '"') {
                inString = false;
            }
        } else if (c == '"') {
            inString = true;
            out += c;
        } else if (c == '/' && i + 1 < text.size() && text[i + 1] == '/') {
            while (i < text.size() && text[i] != '\n') ++i;
            if (i < text.size()) out += '\n';
        } else if (c == '/' && i + 1 < text.size() && text[i + 1] == '*') {
            for (i += 2; i < text.size() && !(text[i] == '*' && i + 1 < text.size() && text[i + 1] == '/');
                 ++i)
                if (text[i] == '\n') out += '\n';
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

bool IsNameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

class Parser {
public:
    Parser(ResourceScript* script, const std::vector<std::string>& includeFolders, std::string* error,
           const std::map<std::string, std::string>* files = nullptr)
        : script_(script), includeFolders_(includeFolders), error_(error), files_(files) {}

    bool Preprocess(const std::string& text, const std::string& name, const std::string& folder, int depth);
    bool ParseAll();

private:
    // An error found while reading lines, already labelled with its file and line.
    bool Refuse(const std::string& message) {
        *error_ = message;
        return false;
    }
    bool Fail(const std::string& reason) {
        const Token& at = Peek();
        *error_ = at.file + ":" + std::to_string(at.line) + ": " + reason;
        return false;
    }
    bool Tokenize(const std::string& line, const std::string& name, int lineNumber);
    const Token& Peek() const { return tokens_[position_]; }
    Token Next() { return position_ + 1 < tokens_.size() ? tokens_[position_++] : tokens_[position_]; }
    bool IsPunct(const char* p) const { return Peek().kind == Token::kPunct && Peek().text == p; }
    bool IsName(const char* n) const { return Peek().kind == Token::kName && Peek().text == n; }
    bool AtBegin() const { return IsName("BEGIN") || IsPunct("{"); }
    bool AtEnd() const { return IsName("END") || IsPunct("}"); }
    bool Expect(const char* p) {
        if (!IsPunct(p)) return Fail(std::string("expected '") + p + "'");
        Next();
        return true;
    }
    bool Lookup(const std::string& name, Value* value, int depth);
    bool Expression(Value* value, int depth = 0);
    bool Term(Value* value, int depth);
    bool Number(int* number) {
        Value value;
        if (!Expression(&value)) return false;
        *number = static_cast<int>(value.set);
        return true;
    }
    bool Arguments(std::vector<Argument>* arguments);
    bool SkipBlock();
    bool Dialog(int id);
    bool Control(DialogTemplate* dialog);
    bool StringTable();
    bool ListEntries(int id);

    ResourceScript* script_;
    const std::vector<std::string>& includeFolders_;
    std::string* error_;
    const std::map<std::string, std::string>* files_;
    std::vector<Token> tokens_;
    size_t position_ = 0;
    std::vector<bool> conditions_;
};

bool ReadHostFile(const std::string& path, std::string* text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream content;
    content << in.rdbuf();
    *text = content.str();
    return true;
}

std::string Trim(const std::string& text) {
    size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

bool Parser::Preprocess(const std::string& text, const std::string& name, const std::string& folder,
                        int depth) {
    if (depth > 8) {
        *error_ = name + ": includes nested too deep";
        return false;
    }
    std::istringstream lines(StripComments(text));
    std::string line;
    for (int lineNumber = 1; std::getline(lines, line); ++lineNumber) {
        std::string trimmed = Trim(line);
        bool active = true;
        for (bool condition : conditions_) active = active && condition;
        if (trimmed.empty() || trimmed[0] != '#') {
            if (active && !Tokenize(line, name, lineNumber)) return false;
            continue;
        }
        std::istringstream directive(trimmed.substr(1));
        std::string keyword, argument;
        directive >> keyword >> argument;
        std::string where = name + ":" + std::to_string(lineNumber) + ": ";
        if (keyword == "ifdef" || keyword == "ifndef") {
            bool defined = script_->defines.count(argument) != 0;
            conditions_.push_back(keyword == "ifdef" ? defined : !defined);
        } else if (keyword == "else") {
            if (conditions_.empty()) return Refuse(where + "#else without #if");
            conditions_.back() = !conditions_.back();
        } else if (keyword == "endif") {
            if (conditions_.empty()) return Refuse(where + "#endif without #if");
            conditions_.pop_back();
        } else if (!active || keyword == "pragma") {
            // The code page is the one the build converted the script to.
        } else if (keyword == "define") {
            if (argument.find('(') != std::string::npos)
                return Refuse(where + "macros with arguments are not read");
            size_t at = trimmed.find(argument, trimmed.find("define") + 6) + argument.size();
            script_->defines[argument] = Trim(trimmed.substr(at));
        } else if (keyword == "undef") {
            script_->defines.erase(argument);
        } else if (keyword == "include") {
            if (argument.size() >= 2 && argument[0] == '<') continue;
            if (argument.size() < 2 || argument[0] != '"' || argument.back() != '"')
                return Refuse(where + "bad #include");
            std::string file = argument.substr(1, argument.size() - 2);
            std::vector<std::string> folders{folder};
            folders.insert(folders.end(), includeFolders_.begin(), includeFolders_.end());
            std::string content;
            bool found = false;
            std::string foundFolder = folder;
            if (files_ != nullptr && files_->count(file)) {
                content = files_->at(file);
                found = true;
            }
            for (const std::string& candidate : folders) {
                if (found) break;
                if (ReadHostFile(candidate + "/" + file, &content)) {
                    found = true;
                    foundFolder = candidate;
                    break;
                }
            }
            if (!found) return Refuse(where + "cannot find " + file);
            if (!Preprocess(content, file, foundFolder, depth + 1)) return false;
        } else {
            return Refuse(where + "unknown directive #" + keyword);
        }
    }
    return true;
}

bool Parser::Tokenize(const std::string& line, const std::string& name, int lineNumber) {
    for (size_t i = 0; i < line.size();) {
        char c = line[i];
        Token token;
        token.file = name;
        token.line = lineNumber;
        if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
            continue;
        }
        if (c == '"') {
            token.kind = Token::kString;
            for (++i;; ++i) {
                if (i >= line.size()) {
                    *error_ = name + ":" + std::to_string(lineNumber) + ": unterminated string";
                    return false;
                }
                unsigned char b = static_cast<unsigned char>(line[i]);
                if (b >= 0x81 && i + 1 < line.size()) {
                    token.text += line[i];
                    token.text += line[++i];
                } else if (b == '"') {
                    if (i + 1 < line.size() && line[i + 1] == '"') {
                        token.text += '"';
                        ++i;
                    } else {
                        ++i;
                        break;
                    }
                } else if (b == '\\' && i + 1 < line.size()) {
                    char e = line[++i];
                    switch (e) {
                        case 'n':
                            token.text += '\n';
                            break;
                        case 'r':
                            token.text += '\r';
                            break;
                        case 't':
                            token.text += '\t';
                            break;
                        case 'a':
                            token.text += '\a';
                            break;
                        case 'x': {
                            int value = 0, digits = 0;
                            while (digits < 2 && i + 1 < line.size() &&
                                   std::isxdigit(static_cast<unsigned char>(line[i + 1]))) {
                                value = value * 16 + std::stoi(std::string(1, line[++i]), nullptr, 16);
                                ++digits;
                            }
                            token.text += static_cast<char>(value);
                            break;
                        }
                        default:
                            if (e >= '0' && e <= '7') {
                                int value = e - '0';
                                for (int digits = 1; digits < 3 && i + 1 < line.size() &&
                                                     line[i + 1] >= '0' && line[i + 1] <= '7';
                                     ++digits)
                                    value = value * 8 + (line[++i] - '0');
                                token.text += static_cast<char>(value);
                            } else {
                                token.text += e;
                            }
                    }
                } else {
                    token.text += line[i];
                }
            }
        } else if (std::isdigit(static_cast<unsigned char>(c))) {
            size_t end = i;
            while (end < line.size() && IsNameChar(line[end])) ++end;
            std::string digits = line.substr(i, end - i);
            if (!digits.empty() && (digits.back() == 'L' || digits.back() == 'l')) {
                token.wide = true;
                digits.pop_back();
            }
            token.kind = Token::kNumber;
            token.text = digits;
            try {
                size_t used = 0;
                token.number = static_cast<long>(std::stoul(digits, &used, 0));
                if (used != digits.size()) throw std::invalid_argument(digits);
            } catch (const std::exception&) {
                *error_ = name + ":" + std::to_string(lineNumber) + ": bad number " + digits;
                return false;
            }
            i = end;
        } else if (IsNameChar(c)) {
            size_t end = i;
            while (end < line.size() && IsNameChar(line[end])) ++end;
            token.kind = Token::kName;
            token.text = line.substr(i, end - i);
            i = end;
        } else {
            token.kind = Token::kPunct;
            token.text = std::string(1, c);
            ++i;
        }
        tokens_.push_back(token);
    }
    return true;
}

bool Parser::Lookup(const std::string& name, Value* value, int depth) {
    auto defined = script_->defines.find(name);
    if (defined != script_->defines.end()) {
        if (depth > 16) return Fail("definition of " + name + " refers to itself");
        Parser inner(script_, includeFolders_, error_, files_);
        if (!inner.Tokenize(defined->second, "#define " + name, 0)) return false;
        Token end;
        inner.tokens_.push_back(end);
        if (!inner.Expression(value, depth + 1)) return false;
        if (inner.Peek().kind != Token::kEnd) return Fail(name + " is not a number");
        return true;
    }
    auto known = SystemNames().find(name);
    if (known == SystemNames().end()) return Fail("unknown name " + name);
    value->set = known->second;
    value->clear = 0;
    return true;
}

bool Parser::Term(Value* value, int depth) {
    Token token = Peek();
    if (token.kind == Token::kName && token.text == "NOT") {
        Next();
        Value inverted;
        if (!Term(&inverted, depth)) return false;
        *value = Value{0, inverted.set};
        return true;
    }
    if (token.kind == Token::kPunct && token.text == "(") {
        Next();
        if (!Expression(value, depth)) return false;
        return Expect(")");
    }
    if (token.kind == Token::kPunct && (token.text == "-" || token.text == "~")) {
        Next();
        if (!Term(value, depth)) return false;
        value->set = token.text == "-" ? -value->set : ~value->set;
        return true;
    }
    if (token.kind == Token::kNumber) {
        Next();
        *value = Value{token.number, 0};
        return true;
    }
    if (token.kind == Token::kName) {
        Next();
        return Lookup(token.text, value, depth);
    }
    return Fail("expected a number");
}

bool Parser::Expression(Value* value, int depth) {
    if (!Term(value, depth)) return false;
    while (IsPunct("|") || IsPunct("+") || IsPunct("-")) {
        std::string op = Next().text;
        Value right;
        if (!Term(&right, depth)) return false;
        if (op == "|")
            value->set |= right.set;
        else if (op == "+")
            value->set += right.set;
        else
            value->set -= right.set;
        value->clear |= right.clear;
    }
    return true;
}

bool Parser::Arguments(std::vector<Argument>* arguments) {
    for (;;) {
        Argument argument;
        if (Peek().kind == Token::kString) {
            argument.isString = true;
            argument.text = Next().text;
        } else if (!Expression(&argument.value)) {
            return false;
        }
        arguments->push_back(argument);
        if (!IsPunct(",")) return true;
        Next();
    }
}

bool Parser::SkipBlock() {
    while (!AtBegin()) {
        if (Peek().kind == Token::kEnd) return Fail("expected BEGIN");
        Next();
    }
    int depth = 0;
    do {
        if (Peek().kind == Token::kEnd) return Fail("expected END");
        if (AtBegin()) ++depth;
        if (AtEnd()) --depth;
        Next();
    } while (depth > 0);
    return true;
}

bool Parser::Control(DialogTemplate* dialog) {
    std::string keyword = Next().text;
    std::vector<Argument> arguments;
    if (!Arguments(&arguments)) return false;
    ControlTemplate control;
    auto number = [&](size_t i) { return static_cast<int>(arguments[i].value.set); };
    auto text = [&](size_t i) {
        return arguments[i].isString ? arguments[i].text : std::to_string(arguments[i].value.set);
    };
    if (keyword == "CONTROL") {
        if (arguments.size() < 8) return Fail("CONTROL needs text, id, class, style, x, y, width, height");
        control.text = text(0);
        control.id = number(1);
        control.className = arguments[2].isString ? arguments[2].text : text(2);
        Value style = arguments[3].value;
        control.style = static_cast<DWORD>((WS_CHILD | WS_VISIBLE | style.set) & ~style.clear);
        control.x = number(4), control.y = number(5), control.width = number(6), control.height = number(7);
        if (arguments.size() > 8) control.exStyle = static_cast<DWORD>(arguments[8].value.set);
    } else {
        auto found = Keywords().find(keyword);
        if (found == Keywords().end()) return Fail("unknown control " + keyword);
        const Keyword& kind = found->second;
        size_t first = kind.hasText ? 1 : 0;
        size_t sizes = keyword == "ICON" ? 2 : 4;
        if (arguments.size() < first + 1 + sizes) return Fail(keyword + " lacks its id or position");
        if (kind.hasText) control.text = text(0);
        control.className = kind.className;
        control.id = number(first);
        control.x = number(first + 1), control.y = number(first + 2);
        if (arguments.size() > first + 4)
            control.width = number(first + 3), control.height = number(first + 4);
        size_t styleAt = first + 5;
        if (arguments.size() > styleAt) {
            Value style = arguments[styleAt].value;
            control.style =
                static_cast<DWORD>((WS_CHILD | WS_VISIBLE | kind.baseStyle | style.set) & ~style.clear);
        } else {
            control.style = WS_CHILD | WS_VISIBLE | kind.defaultStyle;
        }
        if (arguments.size() > styleAt + 1)
            control.exStyle = static_cast<DWORD>(arguments[styleAt + 1].value.set);
    }
    dialog->controls.push_back(control);
    return true;
}

bool Parser::Dialog(int id) {
    Next();  // DIALOG or DIALOGEX: the statements read here are common to both
    DialogTemplate dialog;
    dialog.id = id;
    std::vector<Argument> frame;
    if (!Arguments(&frame) || frame.size() < 4) return Fail("a dialog needs x, y, width, height");
    dialog.x = static_cast<int>(frame[0].value.set), dialog.y = static_cast<int>(frame[1].value.set);
    dialog.width = static_cast<int>(frame[2].value.set), dialog.height = static_cast<int>(frame[3].value.set);
    Value style{0x80000000 | 0x00800000 | 0x00080000, 0};  // without STYLE: popup, border, system menu
    bool hasCaption = false, hasFont = false;
    while (!AtBegin()) {
        if (Peek().kind != Token::kName) return Fail("expected BEGIN");
        std::string statement = Next().text;
        std::vector<Argument> arguments;
        if (statement == "STYLE") {
            if (!Expression(&style)) return false;
        } else if (statement == "EXSTYLE") {
            Value exStyle;
            if (!Expression(&exStyle)) return false;
            dialog.exStyle = static_cast<DWORD>(exStyle.set);
        } else if (statement == "CAPTION" || statement == "FONT" || statement == "CLASS" ||
                   statement == "MENU" || statement == "LANGUAGE" || statement == "CHARACTERISTICS" ||
                   statement == "VERSION") {
            if (!Arguments(&arguments)) return false;
            if (statement == "CAPTION") {
                hasCaption = true;
                dialog.caption = arguments[0].text;
            } else if (statement == "FONT") {
                if (arguments.size() < 2 || !arguments[1].isString)
                    return Fail("FONT needs a size and a face");
                hasFont = true;
                dialog.fontSize = static_cast<int>(arguments[0].value.set);
                dialog.fontFace = arguments[1].text;
            }
        } else {
            return Fail("unknown dialog statement " + statement);
        }
    }
    dialog.style = static_cast<DWORD>(style.set & ~style.clear);
    if (hasCaption) dialog.style |= 0x00C00000;
    if (hasFont) dialog.style |= DS_SETFONT;
    Next();
    while (!AtEnd()) {
        if (Peek().kind != Token::kName) return Fail("expected a control");
        if (!Control(&dialog)) return false;
    }
    Next();
    script_->dialogs[id] = dialog;
    return true;
}

bool Parser::StringTable() {
    Next();
    while (!AtBegin()) {
        if (Peek().kind == Token::kEnd) return Fail("expected BEGIN");
        Next();
    }
    Next();
    while (!AtEnd()) {
        int id;
        if (!Number(&id)) return false;
        if (IsPunct(",")) Next();
        if (Peek().kind != Token::kString) return Fail("expected the text of string " + std::to_string(id));
        script_->strings[id] = Next().text;
    }
    Next();
    return true;
}

bool Parser::ListEntries(int id) {
    if (!AtBegin()) return Fail("expected BEGIN");
    Next();
    std::string bytes;
    while (!AtEnd()) {
        if (Peek().kind == Token::kString) {
            bytes += Next().text;
        } else {
            bool wide = Peek().kind == Token::kNumber && Peek().wide;
            Value value;
            if (!Expression(&value)) return false;
            for (int i = 0; i < (wide ? 4 : 2); ++i)
                bytes += static_cast<char>((value.set >> (8 * i)) & 0xFF);
        }
        if (IsPunct(",")) Next();
    }
    Next();
    auto word = [&](size_t at) {
        return static_cast<unsigned>(static_cast<unsigned char>(bytes[at]) |
                                     static_cast<unsigned char>(bytes[at + 1]) << 8);
    };
    std::vector<ListEntry>& entries = script_->listEntries[id];
    for (size_t at = 0; at + 2 <= bytes.size() && word(at) != 0;) {
        if (at + 8 > bytes.size()) return Fail("list entry cut short");
        unsigned length = word(at + 4) | word(at + 6) << 16;
        if (at + 8 + length > bytes.size()) return Fail("list entry longer than its data");
        std::string text = bytes.substr(at + 8, length);
        size_t terminator = text.find('\0');
        if (terminator != std::string::npos) text.resize(terminator);
        entries.push_back(ListEntry{static_cast<int>(word(at)), text});
        at += 8 + length;
    }
    return true;
}

bool Parser::ParseAll() {
    tokens_.push_back(Token{});
    if (!conditions_.empty()) return Fail("#if without #endif");
    while (Peek().kind != Token::kEnd) {
        if (IsName("LANGUAGE")) {
            Next();
            std::vector<Argument> ignored;
            if (!Arguments(&ignored)) return false;
            continue;
        }
        if (IsName("STRINGTABLE")) {
            if (!StringTable()) return false;
            continue;
        }
        int id = -1;
        if (Peek().kind == Token::kName && script_->defines.count(Peek().text) == 0 &&
            SystemNames().count(Peek().text) == 0) {
            Next();  // a resource with a name rather than a number
        } else if (!Number(&id)) {
            return false;
        }
        if (IsName("DIALOG") || IsName("DIALOGEX")) {
            if (!Dialog(id)) return false;
            continue;
        }
        Token type = Peek();
        int typeNumber = -1;
        if (type.kind == Token::kNumber || (type.kind == Token::kName && script_->defines.count(type.text))) {
            if (!Number(&typeNumber)) return false;
        } else if (type.kind == Token::kName) {
            Next();
        } else {
            return Fail("expected a resource type");
        }
        if (typeNumber == kListEntryType) {
            if (!ListEntries(id)) return false;
        } else if (Peek().kind == Token::kString) {
            Next();  // a resource made from a file: icon, manifest
        } else if (!SkipBlock()) {
            return false;
        }
    }
    return true;
}

std::string FolderOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

}  // namespace

const ControlTemplate* DialogTemplate::Control(int controlId) const {
    for (const ControlTemplate& control : controls)
        if (control.id == controlId) return &control;
    return nullptr;
}

bool ParseResourceScript(const std::string& text, const std::string& name,
                         const std::vector<std::string>& includeFolders, ResourceScript* script,
                         std::string* error) {
    Parser parser(script, includeFolders, error);
    return parser.Preprocess(text, name, ".", 0) && parser.ParseAll();
}

bool ParseEmbeddedResourceScript(const std::string& text, const std::string& name,
                                 const std::map<std::string, std::string>& files, ResourceScript* script,
                                 std::string* error) {
    static const std::vector<std::string> kNoFolders;
    Parser parser(script, kNoFolders, error, &files);
    return parser.Preprocess(text, name, ".", 0) && parser.ParseAll();
}

bool LoadResourceScript(const std::string& hostPath, const std::vector<std::string>& includeFolders,
                        ResourceScript* script, std::string* error) {
    std::string text;
    if (!ReadHostFile(hostPath, &text)) {
        *error = hostPath + ": cannot read";
        return false;
    }
    Parser parser(script, includeFolders, error);
    return parser.Preprocess(text, hostPath, FolderOf(hostPath), 0) && parser.ParseAll();
}

}  // namespace win::sim
