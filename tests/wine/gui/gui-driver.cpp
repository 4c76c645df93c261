// gui-driver: works another program's windows the way a person at the till would, for the Wine tests
// and the screenshots. It runs the command given on its command line, or without one a script of
// commands read line by line from standard input; each result is one line "NAME ARGS = VALUE" on standard
// output, texts in the ANSI code page with \\, \r, \n and \t escaped. The first failure ends the run with
// "gui-driver: ..." on standard error and exit code 1. tests/wine/gui/README.md lists the commands.
#include <windows.h>
#include <commctrl.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <set>
#include <string>
#include <vector>

namespace {

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

[[noreturn]] void Fail(const std::string& message) { throw Failure(message); }

// ---- texts: arguments arrive and results leave in the ANSI code page; windows are read as UTF-16 ----

std::wstring Wide(const std::string& text) {
    if (text.empty()) return {};
    int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
    return wide;
}

std::string Ansi(const std::wstring& text) {
    if (text.empty()) return {};
    int length = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                     nullptr);
    std::string ansi(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &ansi[0], length, nullptr, nullptr);
    return ansi;
}

// Escaping happens before the conversion: a trail byte of code page 936 may be a backslash.
std::string Shown(const std::wstring& text) {
    std::wstring escaped;
    for (wchar_t c : text) {
        switch (c) {
        case L'\\': escaped += L"\\\\"; break;
        case L'\r': escaped += L"\\r"; break;
        case L'\n': escaped += L"\\n"; break;
        case L'\t': escaped += L"\\t"; break;
        default: escaped += c;
        }
    }
    return Ansi(escaped);
}

void Say(const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// Words separated by blanks; "..." keeps blanks, \" and \\ inside it. A standalone "=" ends the words:
// what follows it is the expected value of `expect`, kept as written.
struct Line {
    std::vector<std::string> words;
    bool hasValue = false;
    std::string value;
};

Line Split(const std::string& text) {
    Line line;
    size_t at = 0;
    auto blank = [&](size_t i) { return text[i] == ' ' || text[i] == '\t'; };
    while (at < text.size()) {
        while (at < text.size() && blank(at)) ++at;
        if (at == text.size()) break;
        if (text[at] == '=' && (at + 1 == text.size() || blank(at + 1))) {
            line.hasValue = true;
            line.value = text.substr(at + 1 < text.size() ? at + 2 : at + 1);
            break;
        }
        std::string word;
        bool quoted = false;
        while (at < text.size() && (quoted || !blank(at))) {
            char c = text[at];
            if (IsDBCSLeadByte(static_cast<BYTE>(c)) && at + 1 < text.size()) {
                word += text.substr(at, 2);
                at += 2;
                continue;
            }
            ++at;
            if (c == '"') {
                quoted = !quoted;
            } else if (quoted && c == '\\' && at < text.size() && (text[at] == '"' || text[at] == '\\')) {
                word += text[at++];
            } else {
                word += c;
            }
        }
        if (quoted) Fail("unterminated quote");
        line.words.push_back(word);
    }
    return line;
}

// ---- windows ----

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

// The caption a top-level window has, without asking its (perhaps busy) thread.
std::wstring CaptionOf(HWND window) {
    wchar_t text[512] = {};
    InternalGetWindowText(window, text, 512);
    return text;
}

// A control's text as its own window procedure gives it (an edit control's contents, a combo box's
// selection); messages carry it across processes in UTF-16 only (the A messages lose all but the first
// character of list entries under Wine).
std::wstring TextOf(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length))
        Fail("the window does not answer WM_GETTEXTLENGTH");
    std::wstring text(length + 1, L'\0');
    DWORD_PTR got = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(&text[0]), SMTO_ABORTIFHUNG, 5000,
                        &got);
    text.resize(got <= length ? got : length);
    return text;
}

LRESULT Ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result))
        Fail("the window does not answer message " + std::to_string(message));
    return static_cast<LRESULT>(result);
}

BOOL CALLBACK AddVisible(HWND window, LPARAM list) {
    if (IsWindowVisible(window)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

BOOL CALLBACK AddAny(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

std::vector<HWND> TopLevelWindows() {
    std::vector<HWND> found;
    EnumWindows(AddVisible, reinterpret_cast<LPARAM>(&found));
    return found;
}

std::vector<HWND> Descendants(HWND window) {
    std::vector<HWND> found;
    EnumChildWindows(window, AddAny, reinterpret_cast<LPARAM>(&found));
    return found;
}

struct PendingMessage {
    HWND target;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

DWORD WINAPI SendPending(LPVOID pending) {
    auto* call = static_cast<PendingMessage*>(pending);
    SendMessageW(call->target, call->message, call->wParam, call->lParam);
    delete call;
    return 0;
}

const int kMessageText = 0xFFFF;  // the static control holding a message box's text

bool IsMessageBox(HWND window) {
    return ClassOf(window) == L"#32770" && GetDlgItem(window, kMessageText) != nullptr;
}

// Memory in another process. A list view's messages carry pointers to structures that neither Windows nor
// Wine copies across processes (they do for list boxes and combo boxes): the structure and its text
// buffer must lie in the control's own process.
class RemoteMemory {
public:
    RemoteMemory(HWND window, size_t size) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process);
        if (process_ == nullptr)
            Fail("cannot open the control's process: error " + std::to_string(GetLastError()));
        address_ = static_cast<char*>(
            VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        if (address_ == nullptr) {
            DWORD error = GetLastError();
            CloseHandle(process_);
            Fail("cannot allocate memory in the control's process: error " + std::to_string(error));
        }
    }
    ~RemoteMemory() {
        VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        CloseHandle(process_);
    }
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;

    // The address as the other process sees it.
    char* At(size_t offset) const { return address_ + offset; }
    void Write(size_t offset, const void* data, size_t size) {
        SIZE_T done = 0;
        if (!WriteProcessMemory(process_, address_ + offset, data, size, &done) || done != size)
            Fail("cannot write to the control's process: error " + std::to_string(GetLastError()));
    }
    void Read(size_t offset, void* data, size_t size) {
        SIZE_T done = 0;
        if (!ReadProcessMemory(process_, address_ + offset, data, size, &done) || done != size)
            Fail("cannot read from the control's process: error " + std::to_string(GetLastError()));
    }

private:
    HANDLE process_ = nullptr;
    char* address_ = nullptr;
};

// ---- keys ----

struct KeyName {
    const char* name;
    WORD key;
    bool extended;
};

const KeyName kKeys[] = {
    {"Tab", VK_TAB, false},       {"Enter", VK_RETURN, false},    {"Return", VK_RETURN, false},
    {"Esc", VK_ESCAPE, false},    {"Escape", VK_ESCAPE, false},   {"Space", VK_SPACE, false},
    {"Backspace", VK_BACK, false}, {"Delete", VK_DELETE, true},    {"Insert", VK_INSERT, true},
    {"Home", VK_HOME, true},      {"End", VK_END, true},          {"PageUp", VK_PRIOR, true},
    {"PageDown", VK_NEXT, true},  {"Up", VK_UP, true},            {"Down", VK_DOWN, true},
    {"Left", VK_LEFT, true},      {"Right", VK_RIGHT, true},
};

bool SameName(const std::string& a, const char* b) { return lstrcmpiA(a.c_str(), b) == 0; }

INPUT KeyInput(WORD key, bool extended, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = (extended ? KEYEVENTF_EXTENDEDKEY : 0) | (up ? KEYEVENTF_KEYUP : 0);
    return input;
}

// "Shift+Tab", "Alt+B", "F1", "Down": the presses and releases of one chord.
std::vector<INPUT> Chord(const std::string& chord) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t plus; (plus = chord.find('+', start)) != std::string::npos && plus + 1 < chord.size(); start = plus + 1)
        parts.push_back(chord.substr(start, plus - start));
    parts.push_back(chord.substr(start));
    std::vector<WORD> modifiers;
    for (size_t i = 0; i + 1 < parts.size(); ++i) {
        if (SameName(parts[i], "Shift")) modifiers.push_back(VK_SHIFT);
        else if (SameName(parts[i], "Ctrl")) modifiers.push_back(VK_CONTROL);
        else if (SameName(parts[i], "Alt")) modifiers.push_back(VK_MENU);
        else Fail("unknown modifier '" + parts[i] + "' in '" + chord + "'");
    }
    const std::string& last = parts.back();
    WORD key = 0;
    bool extended = false;
    for (const KeyName& k : kKeys)
        if (SameName(last, k.name)) key = k.key, extended = k.extended;
    if (key == 0 && last.size() == 1 && std::isalnum(static_cast<unsigned char>(last[0])))
        key = static_cast<WORD>(std::toupper(static_cast<unsigned char>(last[0])));
    if (key == 0 && (last[0] == 'F' || last[0] == 'f') && last.size() <= 3) {
        int n = std::atoi(last.c_str() + 1);
        if (n >= 1 && n <= 12) key = static_cast<WORD>(VK_F1 + n - 1);
    }
    if (key == 0) Fail("unknown key '" + last + "'");
    std::vector<INPUT> inputs;
    for (WORD m : modifiers) inputs.push_back(KeyInput(m, false, false));
    inputs.push_back(KeyInput(key, extended, false));
    inputs.push_back(KeyInput(key, extended, true));
    for (auto m = modifiers.rbegin(); m != modifiers.rend(); ++m) inputs.push_back(KeyInput(*m, false, true));
    return inputs;
}

// ---- the driver ----

DWORD Milliseconds(const std::string& seconds) {
    char* end = nullptr;
    double value = std::strtod(seconds.c_str(), &end);
    if (end == seconds.c_str() || *end != '\0' || value < 0) Fail("'" + seconds + "' is no number of seconds");
    // Rounded, not cut: x87 arithmetic in the PE32 build makes 0.3 * 1000 just below 300.
    return static_cast<DWORD>(std::lround(value * 1000));
}

int ControlId(const std::string& word) {
    static const struct {
        const char* name;
        int id;
    } kButtons[] = {{"ok", IDOK},         {"cancel", IDCANCEL}, {"abort", IDABORT}, {"retry", IDRETRY},
                    {"ignore", IDIGNORE}, {"yes", IDYES},       {"no", IDNO},       {"close", IDCLOSE},
                    {"help", IDHELP},     {"tryagain", 10},     {"continue", 11}};
    for (const auto& button : kButtons)
        if (SameName(word, button.name)) return button.id;
    char* end = nullptr;
    long id = std::strtol(word.c_str(), &end, 0);
    if (word.empty() || *end != '\0' || id < 0 || id > 0xFFFF) Fail("'" + word + "' is no control id");
    return static_cast<int>(id);
}

class Driver {
public:
    ~Driver() {
        if (program_.hProcess != nullptr) {
            if (WaitForSingleObject(program_.hProcess, 0) == WAIT_TIMEOUT) {
                // A script that ends with the program still open leaves nothing behind.
                TerminateProcess(program_.hProcess, 1);
                Say("terminated = " + programName_);
            }
            CloseHandle(program_.hProcess);
            CloseHandle(program_.hThread);
        }
    }

    void Run(const Line& line) {
        const std::vector<std::string>& w = line.words;
        if (w.empty()) return;
        const std::string& command = w[0];
        if (command == "expect") return Expect(line);
        if (line.hasValue) Fail("'=' belongs to expect");
        auto need = [&](size_t least, size_t most) {
            if (w.size() < least + 1 || w.size() > most + 1)
                Fail(command + " takes " + std::to_string(least) +
                     (most > least ? " to " + std::to_string(most) : "") + " arguments");
        };
        if (command == "desktop") need(1, 1), JoinDesktop(w[1]);
        else if (command == "start") need(1, 99), Start(w);
        else if (command == "exit") need(0, 1), Exit(w.size() > 1 ? Milliseconds(w[1]) : timeout_);
        else if (command == "timeout") need(1, 1), timeout_ = Milliseconds(w[1]), Say("timeout = " + w[1]);
        else if (command == "sleep") need(1, 1), Sleep(Milliseconds(w[1]));
        else if (command == "echo") Say(Joined(w, 1));
        else if (command == "wait") need(1, 2), Wait(w, false);
        else if (command == "wait-box") need(1, 2), Wait(w, true);
        else if (command == "appeared") need(1, 2), Appeared(w, false);
        else if (command == "appeared-box") need(1, 2), Appeared(w, true);
        else if (command == "mark") need(0, 0), Mark();
        else if (command == "wait-any") need(0, 1), WaitAny(w.size() > 1 ? Milliseconds(w[1]) : timeout_);
        else if (command == "gone") need(1, 2), Gone(w);
        else if (command == "closed") need(0, 1), Closed(w.size() > 1 ? Milliseconds(w[1]) : timeout_);
        else if (command == "windows") need(0, 0), ListWindows();
        else if (command == "controls") need(0, 0), ListControls();
        else if (command == "fits") need(0, 0), Fits();
        else if (command == "list") need(1, 1), List(ControlId(w[1]));
        else if (command == "click") need(1, 1), Click(ControlId(w[1]));
        else if (command == "mouse") need(1, 1), Mouse(ControlId(w[1]));
        else if (command == "select") need(2, 2), Select(ControlId(w[1]), w[2], false);
        else if (command == "select-index") need(2, 2), Select(ControlId(w[1]), w[2], true);
        else if (command == "tick") need(2, 2), Tick(ControlId(w[1]), w[2], true);
        else if (command == "untick") need(2, 2), Tick(ControlId(w[1]), w[2], false);
        else if (command == "key") need(1, 99), Keys(w);
        else if (command == "type") need(1, 1), Type(w[1]);
        else if (command == "paint") need(0, 0), Paint();
        else if (command == "activate") need(0, 0), Activate();
        else Say(Query(w));
    }

private:
    static std::string Joined(const std::vector<std::string>& words, size_t from) {
        std::string joined;
        for (size_t i = from; i < words.size(); ++i) joined += (i > from ? " " : "") + words[i];
        return joined;
    }

    // Queries give one line each, so that `expect` can wait for any of them.
    std::string Query(const std::vector<std::string>& w) {
        const std::string& command = w[0];
        auto need = [&](size_t count) {
            if (w.size() != count + 1) Fail(command + " takes " + std::to_string(count) + " arguments");
        };
        if (command == "caption") return need(0), "caption = " + Shown(CaptionOf(Current()));
        if (command == "message") return need(0), "message = " + Shown(TextOf(MessageText()));
        if (command == "focus") return need(0), "focus = " + Focus();
        if (command == "foreground") {
            need(0);
            HWND window = GetForegroundWindow();
            return "foreground = " + (window != nullptr ? Shown(CaptionOf(window)) : "none");
        }
        if (command == "rect") {
            need(0);
            RECT r;
            GetWindowRect(Current(), &r);
            return "rect = " + std::to_string(r.left) + " " + std::to_string(r.top) + " " +
                   std::to_string(r.right - r.left) + " " + std::to_string(r.bottom - r.top);
        }
        if (command == "service") return need(1), "service " + w[1] + " = " + ServiceState(w[1]);
        if (w.size() < 2) Fail("unknown command '" + command + "'");
        int id = ControlId(w[1]);
        std::string head = command + " " + w[1] + " = ";
        if (command == "text") return need(1), head + Shown(TextOf(Control(id)));
        if (command == "enabled") return need(1), head + (IsWindowEnabled(Control(id)) ? "1" : "0");
        if (command == "visible") return need(1), head + (IsWindowVisible(Control(id)) ? "1" : "0");
        if (command == "checked") return need(1), head + std::to_string(Ask(Control(id), BM_GETCHECK));
        if (command == "selected") return need(1), head + std::to_string(Selected(Control(id)));
        if (command == "count") return need(1), head + std::to_string(Count(Control(id)));
        if (command == "item") {
            need(2);
            return command + " " + w[1] + " " + w[2] + " = " + Shown(Entry(Control(id), Index(w[2])));
        }
        if (command == "ticked") {
            need(2);
            HWND control = ListView(id);
            bool ticked = Ticked(control, EntryIndex(control, w[2]));
            return command + " " + w[1] + " " + w[2] + " = " + (ticked ? "1" : "0");
        }
        Fail("unknown command '" + command + "'");
    }

    void Expect(const Line& line) {
        if (!line.hasValue || line.words.size() < 2) Fail("expect QUERY = VALUE");
        std::vector<std::string> query(line.words.begin() + 1, line.words.end());
        std::string wanted = Joined(query, 0) + " = " + line.value;
        std::string got;
        DWORD start = GetTickCount();
        for (;;) {
            try {
                got = Query(query);
            } catch (const Failure& failure) {
                got = failure.what();
            }
            if (got == wanted) return Say(got);
            if (GetTickCount() - start > timeout_)
                Fail("expected '" + wanted + "', still '" + got + "' after " + std::to_string(timeout_) + " ms");
            Sleep(50);
        }
    }

    // ---- the program and its desktop ----

    // A Wine virtual desktop is a desktop object of its own: its windows are seen and its input reaches
    // them only from threads on it.
    void JoinDesktop(const std::string& name) {
        HDESK desk = nullptr;
        for (DWORD start = GetTickCount(); desk == nullptr; Sleep(50)) {
            desk = OpenDesktopW(Wide(name).c_str(), 0, FALSE, GENERIC_ALL);
            if (desk == nullptr && GetTickCount() - start > timeout_) Fail("no desktop '" + name + "'");
        }
        if (!SetThreadDesktop(desk))
            Fail("cannot join desktop '" + name + "': error " + std::to_string(GetLastError()));
        desktop_ = Wide(name);
        Say("desktop = " + name);
    }

    void Start(const std::vector<std::string>& w) {
        if (program_.hProcess != nullptr) Fail("a program is already started");
        std::wstring commandLine;
        for (size_t i = 1; i < w.size(); ++i) {
            std::wstring word = Wide(w[i]);
            // CreateProcess looks beside gui-driver.exe before the current folder, and the build folder
            // has programs of the same names as the medium.
            if (i == 1 && word.find_first_of(L"\\/:") == std::wstring::npos) word = L".\\" + word;
            if (i > 1) commandLine += L' ';
            commandLine += word.find(L' ') == std::wstring::npos ? word : L"\"" + word + L"\"";
        }
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        if (!desktop_.empty()) startup.lpDesktop = &desktop_[0];
        if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &program_))
            Fail("cannot start '" + Joined(w, 1) + "': error " + std::to_string(GetLastError()));
        QueryPerformanceCounter(&since_);
        programName_ = w[1];
        Say("started = " + Joined(w, 1));
    }

    void Exit(DWORD milliseconds) {
        if (program_.hProcess == nullptr) Fail("no program was started");
        if (WaitForSingleObject(program_.hProcess, milliseconds) != WAIT_OBJECT_0)
            Fail(programName_ + " still runs after " + std::to_string(milliseconds) + " ms");
        DWORD code = 0;
        GetExitCodeProcess(program_.hProcess, &code);
        // Another program may be started after this one.
        CloseHandle(program_.hProcess);
        CloseHandle(program_.hThread);
        program_ = PROCESS_INFORMATION{};
        Say("exit = " + std::to_string(code));
    }

    // Waiting for a window of a program that has ended is hopeless: say so at once.
    void CheckProgramRuns(const std::string& waitingFor) {
        DWORD code = 0;
        if (program_.hProcess != nullptr && WaitForSingleObject(program_.hProcess, 0) == WAIT_OBJECT_0 &&
            GetExitCodeProcess(program_.hProcess, &code))
            Fail(programName_ + " ended with exit code " + std::to_string(code) + " while waiting for " + waitingFor);
    }

    // ---- windows by caption ----

    // A message box often bears its program's caption: `wait` passes over message boxes, `wait-box`
    // takes only them, `gone` minds both.
    enum class Kind { Window, MessageBox, Any };
    HWND Find(const std::wstring& caption, Kind kind) {
        for (HWND window : TopLevelWindows()) {
            if (CaptionOf(window) != caption) continue;
            if (kind == Kind::Any || IsMessageBox(window) == (kind == Kind::MessageBox)) return window;
        }
        return nullptr;
    }

    std::string Visible() {
        std::string list;
        for (HWND window : TopLevelWindows())
            list += (list.empty() ? "" : ", ") + Ansi(ClassOf(window)) + " '" + Shown(CaptionOf(window)) + "'";
        return list.empty() ? "none" : list;
    }

    void Wait(const std::vector<std::string>& w, bool messageBox) {
        DWORD limit = w.size() > 2 ? Milliseconds(w[2]) : timeout_;
        std::wstring caption = Wide(w[1]);
        std::string what = (messageBox ? "message box '" : "window '") + w[1] + "'";
        DWORD start = GetTickCount();
        HWND window;
        while ((window = Find(caption, messageBox ? Kind::MessageBox : Kind::Window)) == nullptr) {
            CheckProgramRuns(what);
            if (GetTickCount() - start > limit)
                Fail("no " + what + " after " + std::to_string(limit) + " ms; visible: " + Visible());
            Sleep(50);
        }
        current_ = window;
        Settle();
        Say(std::string(messageBox ? "box" : "window") + " = " + Shown(CaptionOf(window)));
    }

    // For the benchmarks: how long after `start` or `mark` the window became visible, found by polling
    // every millisecond, before anything else is sent to it.
    void Appeared(const std::vector<std::string>& w, bool messageBox) {
        DWORD limit = w.size() > 2 ? Milliseconds(w[2]) : timeout_;
        std::wstring caption = Wide(w[1]);
        std::string what = (messageBox ? "message box '" : "window '") + w[1] + "'";
        HWND window;
        while ((window = Find(caption, messageBox ? Kind::MessageBox : Kind::Window)) == nullptr) {
            CheckProgramRuns(what);
            if (Elapsed() > limit) Fail("no " + what + " after " + std::to_string(limit) + " ms");
            Sleep(1);
        }
        double milliseconds = Elapsed();
        current_ = window;
        char shown[32];
        std::snprintf(shown, sizeof shown, "%.1f", milliseconds);
        Say(std::string("appeared = ") + shown);
    }

    // Times a step of a program that is already running: `appeared` measures from here on.
    void Mark() {
        QueryPerformanceCounter(&since_);
        Say("marked");
    }

    // Milliseconds since the last `start` or `mark`.
    double Elapsed() const {
        LARGE_INTEGER now, frequency;
        QueryPerformanceCounter(&now);
        QueryPerformanceFrequency(&frequency);
        return 1000.0 * static_cast<double>(now.QuadPart - since_.QuadPart) / static_cast<double>(frequency.QuadPart);
    }

    // The first window the started program shows, whatever it is: a tour that cannot know whether the
    // program opens its dialog or only says why it will not.
    void WaitAny(DWORD limit) {
        if (program_.hProcess == nullptr) Fail("no program was started");
        HWND window = nullptr;
        for (DWORD start = GetTickCount(); window == nullptr; Sleep(50)) {
            for (HWND candidate : TopLevelWindows()) {
                DWORD process = 0;
                GetWindowThreadProcessId(candidate, &process);
                if (process == program_.dwProcessId) {
                    window = candidate;
                    break;
                }
            }
            if (window != nullptr) break;
            CheckProgramRuns("a window");
            if (GetTickCount() - start > limit)
                Fail("no window of " + programName_ + " after " + std::to_string(limit) +
                     " ms; visible: " + Visible());
        }
        current_ = window;
        Settle();
        Say(std::string(IsMessageBox(window) ? "box" : "window") + " = " + Shown(CaptionOf(window)));
    }

    void Gone(const std::vector<std::string>& w) {
        DWORD limit = w.size() > 2 ? Milliseconds(w[2]) : timeout_;
        std::wstring caption = Wide(w[1]);
        for (DWORD start = GetTickCount(); Find(caption, Kind::Any) != nullptr; Sleep(50))
            if (GetTickCount() - start > limit)
                Fail("window '" + w[1] + "' still there after " + std::to_string(limit) + " ms");
        Say("gone = " + w[1]);
    }

    void Closed(DWORD limit) {
        if (current_ == nullptr) Fail("no window: wait for one first");
        HWND window = current_;
        for (DWORD start = GetTickCount(); IsWindow(window); Sleep(50))
            if (GetTickCount() - start > limit)
                Fail("window '" + Shown(CaptionOf(window)) + "' still open after " + std::to_string(limit) + " ms");
        current_ = nullptr;
        Say("closed");
    }

    HWND Current() {
        if (current_ == nullptr) Fail("no window: wait for one first");
        if (!IsWindow(current_)) Fail("the window is gone");
        return current_;
    }

    void ListWindows() {
        for (HWND window : TopLevelWindows()) Say("window " + Ansi(ClassOf(window)) + " = " + Shown(CaptionOf(window)));
    }

    void ListControls() {
        for (HWND child : Descendants(Current())) {
            Say("control " + std::to_string(GetDlgCtrlID(child)) + " " + Ansi(ClassOf(child)) +
                (IsWindowVisible(child) ? " visible" : " hidden") + (IsWindowEnabled(child) ? "" : " disabled") +
                " = " + Shown(TextOf(child)));
        }
    }

    // ---- texts that fit ----

    // The font a control draws with: the one its dialog's template names, made as the dialog manager
    // makes it. WM_GETFONT cannot tell it from here: Wine answers it with 0 across processes, and a font
    // handle of another process would mean nothing in this one. The templates are read from the resources
    // of the program that owns the dialog, and the dialog's template is the one whose controls it has.
    struct TemplateFont {
        std::set<int> ids;
        int points = 0, weight = 0;
        bool italic = false;
        int charset = 0;
        std::wstring face;
    };
    std::vector<TemplateFont> templates_;
    std::wstring templatesOf_;

    static const WORD* SkipNameOrOrdinal(const WORD* at) {
        if (*at == 0xFFFF) return at + 2;
        while (*at != 0) ++at;
        return at + 1;
    }

    static BOOL CALLBACK AddTemplate(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR list) {
        HRSRC found = FindResourceW(module, name, type);
        const WORD* at = found != nullptr ? static_cast<const WORD*>(LockResource(LoadResource(module, found))) : nullptr;
        if (at == nullptr || at[0] != 1 || at[1] != 0xFFFF) return TRUE;  // only DIALOGEX templates
        DWORD style = *reinterpret_cast<const DWORD*>(at + 6);
        WORD items = at[8];
        TemplateFont font;
        at = SkipNameOrOrdinal(SkipNameOrOrdinal(at + 13));  // menu, class
        while (*at != 0) ++at;                               // caption
        ++at;
        if ((style & DS_SETFONT) == 0) return TRUE;
        font.points = at[0];
        font.weight = at[1];
        font.italic = (at[2] & 0xFF) != 0;
        font.charset = at[2] >> 8;
        at += 3;
        while (*at != 0) font.face += static_cast<wchar_t>(*at++);
        ++at;
        for (WORD n = 0; n < items; ++n) {
            at = reinterpret_cast<const WORD*>((reinterpret_cast<UINT_PTR>(at) + 3) & ~UINT_PTR(3));
            int id = static_cast<int>(*reinterpret_cast<const DWORD*>(at + 10));
            if (id != -1 && id != 0xFFFF) font.ids.insert(id);
            at = SkipNameOrOrdinal(SkipNameOrOrdinal(at + 12));  // class, text
            at = reinterpret_cast<const WORD*>(reinterpret_cast<const BYTE*>(at + 1) + *at);  // creation data
        }
        reinterpret_cast<std::vector<TemplateFont>*>(list)->push_back(font);
        return TRUE;
    }

    HFONT FontOf(HWND control) {
        HWND dialog = GetParent(control);
        DWORD process = 0;
        GetWindowThreadProcessId(dialog, &process);
        HANDLE handle = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process);
        wchar_t path[MAX_PATH] = {};
        DWORD size = MAX_PATH;
        bool named = handle != nullptr && QueryFullProcessImageNameW(handle, 0, path, &size);
        if (handle != nullptr) CloseHandle(handle);
        if (!named) Fail("cannot tell the program of control " + std::to_string(GetDlgCtrlID(control)));
        if (templatesOf_ != path) {
            templates_.clear();
            templatesOf_ = path;
            HMODULE module = LoadLibraryExW(path, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
            if (module == nullptr) Fail("cannot read the resources of " + Ansi(path));
            EnumResourceNamesW(module, MAKEINTRESOURCEW(5), AddTemplate, reinterpret_cast<LONG_PTR>(&templates_));
            FreeLibrary(module);
        }
        std::set<int> ids;
        for (HWND child : Descendants(dialog))
            if (GetParent(child) == dialog) ids.insert(GetDlgCtrlID(child));
        const TemplateFont* best = nullptr;
        for (const TemplateFont& font : templates_) {
            bool all = std::includes(ids.begin(), ids.end(), font.ids.begin(), font.ids.end());
            if (all && !font.ids.empty() && (best == nullptr || font.ids.size() > best->ids.size())) best = &font;
        }
        if (best == nullptr) Fail("no dialog template of " + Ansi(path) + " has the controls of control " +
                                  std::to_string(GetDlgCtrlID(control)) + "'s dialog");
        HDC screen = GetDC(nullptr);
        int height = -MulDiv(best->points, GetDeviceCaps(screen, LOGPIXELSY), 72);
        ReleaseDC(nullptr, screen);
        return CreateFontW(height, 0, 0, 0, best->weight, best->italic, FALSE, FALSE, static_cast<DWORD>(best->charset),
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                           best->face.c_str());
    }

    // What a control leaves for its text in pixels, less what it draws beside it: a check mark or radio
    // circle and its gap, a group box's indents, a push button's edges, a drop-down's arrow, an edit's
    // margins. Zero for a control that shows no text of its own.
    struct Room {
        int width = 0, height = 0;
        bool wraps = false, prefixes = true;
    };
    static Room RoomOf(HWND control) {
        RECT client{};
        GetClientRect(control, &client);
        Room room{client.right - client.left, client.bottom - client.top};
        LONG style = GetWindowLongW(control, GWL_STYLE);
        std::wstring name = ClassOf(control);
        if (lstrcmpiW(name.c_str(), L"Static") == 0) {
            LONG type = style & SS_TYPEMASK;
            if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT && type != SS_SIMPLE && type != SS_LEFTNOWORDWRAP)
                return {};
            room.wraps = type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT;
            room.prefixes = (style & SS_NOPREFIX) == 0;
        } else if (lstrcmpiW(name.c_str(), L"Button") == 0) {
            switch (style & BS_TYPEMASK) {
            case BS_CHECKBOX: case BS_AUTOCHECKBOX: case BS_RADIOBUTTON: case BS_AUTORADIOBUTTON:
            case BS_3STATE: case BS_AUTO3STATE:
                room.width -= GetSystemMetrics(SM_CXMENUCHECK) + 4;
                break;
            case BS_GROUPBOX: room.width -= 16; break;
            case BS_PUSHBUTTON: case BS_DEFPUSHBUTTON: room.width -= 6; break;
            default: return {};
            }
            room.wraps = (style & BS_MULTILINE) != 0;
        } else if (lstrcmpiW(name.c_str(), L"Edit") == 0) {
            if (style & (WS_VSCROLL | WS_HSCROLL)) return {};  // scrolls to show the rest
            room.width -= 4;
            room.wraps = (style & ES_MULTILINE) != 0 && (style & ES_AUTOHSCROLL) == 0;
            room.prefixes = false;
        } else {
            return {};
        }
        return room;
    }

    // The size a text takes in a font, laid out as the control lays it out.
    static SIZE Measure(HDC context, const std::wstring& text, const Room& room) {
        RECT area{0, 0, room.width, 0};
        UINT format = DT_CALCRECT | DT_EXPANDTABS | (room.wraps ? DT_WORDBREAK : DT_SINGLELINE) |
                      (room.prefixes ? 0 : DT_NOPREFIX);
        DrawTextW(context, text.c_str(), static_cast<int>(text.size()), &area, format);
        return {area.right - area.left, area.bottom - area.top};
    }

    // Every visible control of the current window whose text, or an entry of whose list, is wider than the
    // control (or, wrapped, taller): a cut text fails with each control, its text and both sizes.
    void Fits() {
        std::string cut;
        int checked = 0;
        HDC screen = GetDC(nullptr);
        auto judge = [&](HWND control, const std::wstring& text, const Room& room, const char* what) {
            HFONT font = FontOf(control);
            HGDIOBJ previous = SelectObject(screen, font);
            SIZE size = Measure(screen, text, room);
            SelectObject(screen, previous);
            DeleteObject(font);
            ++checked;
            if (size.cx <= room.width && size.cy <= room.height) return;
            cut += "\n  control " + std::to_string(GetDlgCtrlID(control)) + " " + Ansi(ClassOf(control)) + what + " '" +
                   Shown(text) + "': " + std::to_string(size.cx) + "x" + std::to_string(size.cy) + " px, room " +
                   std::to_string(room.width) + "x" + std::to_string(room.height);
        };
        for (HWND child : Descendants(Current())) {
            if (!IsWindowVisible(child)) continue;
            std::wstring name = ClassOf(child);
            bool combo = lstrcmpiW(name.c_str(), L"ComboBox") == 0, list = lstrcmpiW(name.c_str(), L"ListBox") == 0;
            if (combo || list) {
                // A drop-down list's entries show beside its arrow; a list's beside its scroll bar, if any.
                if (GetParent(child) != nullptr && lstrcmpiW(ClassOf(GetParent(child)).c_str(), L"ComboBox") == 0) continue;
                RECT client{};
                GetClientRect(child, &client);
                Room room{client.right - client.left - 4, client.bottom - client.top, false, false};
                if (combo) room.width -= GetSystemMetrics(SM_CXVSCROLL);
                int entries = Count(child);
                for (int n = 0; n < entries; ++n) {
                    Room line = room;
                    line.height = 1 << 20;  // a list has as many lines as it needs
                    judge(child, Entry(child, n), line, " entry");
                }
                continue;
            }
            Room room = RoomOf(child);
            if (room.width == 0 && room.height == 0) continue;
            std::wstring text = TextOf(child);
            if (text.empty()) continue;
            judge(child, text, room, "");
        }
        ReleaseDC(nullptr, screen);
        if (!cut.empty()) Fail("texts cut in '" + Shown(CaptionOf(current_)) + "':" + cut);
        Say("fits = " + std::to_string(checked));
    }

    // ---- controls ----

    // Pages are child dialogs of the frame, and hidden pages keep their controls: the first visible
    // control with the id is the one a person sees; a hidden one answers only when none is visible.
    HWND Control(int id) {
        HWND hidden = nullptr;
        for (HWND child : Descendants(Current())) {
            if (GetDlgCtrlID(child) != id) continue;
            if (IsWindowVisible(child)) return child;
            if (hidden == nullptr) hidden = child;
        }
        if (hidden == nullptr) Fail("no control " + std::to_string(id) + " in '" + Shown(CaptionOf(current_)) + "'");
        return hidden;
    }

    HWND Usable(int id) {
        HWND control = Control(id);
        if (!IsWindowVisible(control)) Fail("control " + std::to_string(id) + " is hidden");
        if (!IsWindowEnabled(control)) Fail("control " + std::to_string(id) + " is disabled");
        return control;
    }

    HWND MessageText() {
        HWND text = GetDlgItem(Current(), kMessageText);
        if (text == nullptr) Fail("'" + Shown(CaptionOf(current_)) + "' is no message box");
        return text;
    }

    // The three kinds of list a person picks from; anything else is taken for a combo box.
    enum class ListKind { Combo, ListBox, ListView };
    ListKind KindOf(HWND control) {
        std::wstring name = ClassOf(control);
        if (lstrcmpiW(name.c_str(), L"ListBox") == 0) return ListKind::ListBox;
        if (lstrcmpiW(name.c_str(), WC_LISTVIEWW) == 0) return ListKind::ListView;
        return ListKind::Combo;
    }

    HWND ListView(int id) {
        HWND control = Control(id);
        if (KindOf(control) != ListKind::ListView) Fail("control " + std::to_string(id) + " is no list view");
        return control;
    }

    int Count(HWND control) {
        switch (KindOf(control)) {
        case ListKind::ListBox: return static_cast<int>(Ask(control, LB_GETCOUNT));
        case ListKind::ListView: return static_cast<int>(Ask(control, LVM_GETITEMCOUNT));
        default: return static_cast<int>(Ask(control, CB_GETCOUNT));
        }
    }

    int Selected(HWND control) {
        switch (KindOf(control)) {
        case ListKind::ListBox: return static_cast<int>(Ask(control, LB_GETCURSEL));
        case ListKind::ListView:
            return static_cast<int>(Ask(control, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
        default: return static_cast<int>(Ask(control, CB_GETCURSEL));
        }
    }

    static int Index(const std::string& word) {
        char* end = nullptr;
        long index = std::strtol(word.c_str(), &end, 10);
        if (word.empty() || *end != '\0' || index < 0) Fail("'" + word + "' is no entry index");
        return static_cast<int>(index);
    }

    int EntryIndex(HWND control, const std::string& word) {
        int index = Index(word);
        if (index >= Count(control))
            Fail("control " + std::to_string(GetDlgCtrlID(control)) + " has no entry " + word);
        return index;
    }

    std::wstring Entry(HWND control, int index) {
        if (KindOf(control) == ListKind::ListView) return ListViewEntry(control, index);
        bool listBox = KindOf(control) == ListKind::ListBox;
        LRESULT length = Ask(control, listBox ? LB_GETTEXTLEN : CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
        if (length < 0) Fail("no entry " + std::to_string(index) + " in control " + std::to_string(GetDlgCtrlID(control)));
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        LRESULT got = Ask(control, listBox ? LB_GETTEXT : CB_GETLBTEXT, static_cast<WPARAM>(index),
                          reinterpret_cast<LPARAM>(&text[0]));
        text.resize(got >= 0 && got <= length ? static_cast<size_t>(got) : 0);
        return text;
    }

    // The text of an entry's first column.
    std::wstring ListViewEntry(HWND control, int index) {
        if (index < 0 || index >= Count(control))
            Fail("no entry " + std::to_string(index) + " in control " +
                 std::to_string(GetDlgCtrlID(control)));
        constexpr int kChars = 1024;
        RemoteMemory memory(control, sizeof(LVITEMW) + kChars * sizeof(wchar_t));
        LVITEMW item{};
        item.iSubItem = 0;
        item.cchTextMax = kChars;
        item.pszText = reinterpret_cast<LPWSTR>(memory.At(sizeof(LVITEMW)));
        memory.Write(0, &item, sizeof(item));
        LRESULT length =
            Ask(control, LVM_GETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(memory.At(0)));
        std::wstring text(kChars, L'\0');
        memory.Read(sizeof(LVITEMW), &text[0], kChars * sizeof(wchar_t));
        text.resize(length > 0 && length < kChars ? static_cast<size_t>(length) : 0);
        return text;
    }

    // The check box of a list view with LVS_EX_CHECKBOXES is state image 2 when ticked, 1 when not.
    bool Ticked(HWND control, int index) {
        LRESULT state = Ask(control, LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_STATEIMAGEMASK);
        return (state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
    }

    void List(int id) {
        HWND control = Control(id);
        int count = Count(control);
        std::string name = std::to_string(id);
        Say("count " + name + " = " + std::to_string(count));
        for (int i = 0; i < count; ++i) Say("item " + name + " " + std::to_string(i) + " = " + Shown(Entry(control, i)));
        Say("selected " + name + " = " + std::to_string(Selected(control)));
    }

    std::string ServiceState(const std::string& name) {
        SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
        if (manager == nullptr)
            Fail("cannot open the service manager: error " + std::to_string(GetLastError()));
        SC_HANDLE service = OpenServiceW(manager, Wide(name).c_str(), SERVICE_QUERY_STATUS);
        SERVICE_STATUS status{};
        bool known = service != nullptr && QueryServiceStatus(service, &status);
        if (service != nullptr) CloseServiceHandle(service);
        CloseServiceHandle(manager);
        if (!known) return "none";
        switch (status.dwCurrentState) {
        case SERVICE_STOPPED: return "stopped";
        case SERVICE_START_PENDING: return "starting";
        case SERVICE_STOP_PENDING: return "stopping";
        case SERVICE_RUNNING: return "running";
        case SERVICE_PAUSED: return "paused";
        default: return "state " + std::to_string(status.dwCurrentState);
        }
    }

    std::string Focus() {
        DWORD thread = GetWindowThreadProcessId(Current(), nullptr);
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        if (!GetGUIThreadInfo(thread, &info) || info.hwndFocus == nullptr) return "none";
        HWND focus = info.hwndFocus;
        // The edit field of a combo box stands for the combo box.
        HWND parent = GetParent(focus);
        if (parent != nullptr && lstrcmpiW(ClassOf(parent).c_str(), L"ComboBox") == 0) focus = parent;
        return std::to_string(GetDlgCtrlID(focus));
    }

    // ---- acting ----

    // Until the program has taken what was sent: its thread answers a message once it is back in its
    // message loop. Input waits behind sent messages, so a short pause comes first.
    void Settle() {
        HWND window = current_;
        for (int round = 0; round < 2 && window != nullptr && IsWindow(window); ++round) {
            Sleep(25);
            DWORD_PTR ignored;
            SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &ignored);
        }
    }

    // The visible top-level windows of a thread.
    static std::vector<HWND> WindowsOf(DWORD threadId) {
        std::vector<HWND> found;
        for (HWND window : TopLevelWindows())
            if (GetWindowThreadProcessId(window, nullptr) == threadId) found.push_back(window);
        return found;
    }

    // Sends a message that may open a modal window (a message box, the next dialog): the sender would
    // wait until that closes, so another thread sends it, and it counts as handled once it returns or
    // once the program's thread has a new active window or a new visible one. A window opened while
    // another program holds the activation is not activated (Wine), so the active one alone is not enough.
    void SendAndSettle(HWND target, UINT message, WPARAM wParam, LPARAM lParam, const std::string& what) {
        auto* call = new PendingMessage{target, message, wParam, lParam};  // the thread may outlive this command
        DWORD threadId = GetWindowThreadProcessId(target, nullptr);
        GUITHREADINFO before{};
        before.cbSize = sizeof(before);
        GetGUIThreadInfo(threadId, &before);
        std::vector<HWND> shown = WindowsOf(threadId);
        auto opened = [&] {
            for (HWND window : WindowsOf(threadId))
                if (std::find(shown.begin(), shown.end(), window) == shown.end()) return true;
            return false;
        };
        HANDLE sender = CreateThread(nullptr, 0, SendPending, call, 0, nullptr);
        if (sender == nullptr) Fail("cannot start a thread");
        DWORD start = GetTickCount();
        for (;;) {
            if (WaitForSingleObject(sender, 20) == WAIT_OBJECT_0) break;
            GUITHREADINFO now{};
            now.cbSize = sizeof(now);
            if (GetGUIThreadInfo(threadId, &now) && now.hwndActive != nullptr && now.hwndActive != before.hwndActive)
                break;
            if (opened()) break;
            if (GetTickCount() - start > timeout_) {
                CloseHandle(sender);
                Fail(what + " is still being handled after " + std::to_string(timeout_) + " ms");
            }
        }
        CloseHandle(sender);
        Settle();
    }

    void Click(int id) {
        HWND button = Usable(id);
        SendAndSettle(button, BM_CLICK, 0, 0, "the click on " + std::to_string(id));
        Say("clicked " + std::to_string(id));
    }

    // As the user picks an entry: the selection moves, then the dialog hears CBN_SELCHANGE.
    void Select(int id, const std::string& entry, bool byIndex) {
        HWND combo = Usable(id);
        if (KindOf(combo) == ListKind::ListView)
            Fail("control " + std::to_string(id) + " is a list view: tick its entries");
        int count = Count(combo);
        int index = -1;
        if (byIndex) {
            index = std::atoi(entry.c_str());
            if (index < 0 || index >= count) Fail("control " + std::to_string(id) + " has no entry " + entry);
        } else {
            std::wstring wanted = Wide(entry);
            for (int i = 0; i < count && index < 0; ++i)
                if (Entry(combo, i) == wanted) index = i;
            if (index < 0) Fail("control " + std::to_string(id) + " has no entry '" + entry + "'");
        }
        bool listBox = KindOf(combo) == ListKind::ListBox;
        Ask(combo, listBox ? LB_SETCURSEL : CB_SETCURSEL, static_cast<WPARAM>(index));
        WORD notification = listBox ? LBN_SELCHANGE : CBN_SELCHANGE;
        SendAndSettle(GetParent(combo), WM_COMMAND, MAKEWPARAM(id, notification), reinterpret_cast<LPARAM>(combo),
                      "the selection in " + std::to_string(id));
        Say("selected " + std::to_string(id) + " = " + std::to_string(index));
    }

    // A click on an entry's check box: the list view changes the state image and tells the dialog
    // (LVN_ITEMCHANGED), as it does for the click.
    void Tick(int id, const std::string& entry, bool on) {
        HWND control = Usable(id);
        if (KindOf(control) != ListKind::ListView) Fail("control " + std::to_string(id) + " is no list view");
        int index = EntryIndex(control, entry);
        LVITEMW item{};
        item.stateMask = LVIS_STATEIMAGEMASK;
        item.state = INDEXTOSTATEIMAGEMASK(on ? 2 : 1);
        RemoteMemory memory(control, sizeof(item));
        memory.Write(0, &item, sizeof(item));
        LPARAM remote = reinterpret_cast<LPARAM>(memory.At(0));
        if (!Ask(control, LVM_SETITEMSTATE, static_cast<WPARAM>(index), remote))
            Fail("the list view refused the check box of entry " + entry);
        Settle();
        Say("ticked " + std::to_string(id) + " " + entry + " = " + (Ticked(control, index) ? "1" : "0"));
    }

    // Keyboard input goes to the foreground window's focused control, as the person's typing does, so
    // the dialog manager sees it in the program's queue with the modifier state it needs (Shift+Tab,
    // Alt+letter).
    void ToForeground() {
        HWND window = Current();
        DWORD thread = GetWindowThreadProcessId(window, nullptr);
        HWND foreground = GetForegroundWindow();
        if (foreground != nullptr && GetWindowThreadProcessId(foreground, nullptr) == thread) return;
        SetForegroundWindow(window);
        for (DWORD start = GetTickCount(); GetTickCount() - start < 2000; Sleep(20)) {
            foreground = GetForegroundWindow();
            if (foreground != nullptr && GetWindowThreadProcessId(foreground, nullptr) == thread) return;
        }
        Fail("cannot bring '" + Shown(CaptionOf(window)) + "' to the foreground");
    }

    // What a click on the caption does. A program started on a Wine virtual desktop is the foreground
    // window but keeps an inactive caption until the activation changes once.
    void Activate() {
        HWND window = Current();
        SetForegroundWindow(GetDesktopWindow());
        Settle();
        if (!SetForegroundWindow(window)) Fail("cannot activate '" + Shown(CaptionOf(window)) + "'");
        Settle();
        Say("activated = " + Shown(CaptionOf(window)));
    }

    void SendInputs(std::vector<INPUT>& inputs, const std::string& what) {
        UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
        if (sent != inputs.size()) Fail("SendInput took " + std::to_string(sent) + " of the inputs of " + what);
        Settle();
    }

    void Keys(const std::vector<std::string>& w) {
        ToForeground();
        for (size_t i = 1; i < w.size(); ++i) {
            std::vector<INPUT> inputs = Chord(w[i]);
            SendInputs(inputs, w[i]);
        }
        Say("key = " + Joined(w, 1));
    }

    void Type(const std::string& text) {
        ToForeground();
        std::vector<INPUT> inputs;
        for (wchar_t c : Wide(text)) {
            for (bool up : {false, true}) {
                INPUT input{};
                input.type = INPUT_KEYBOARD;
                input.ki.wScan = c;
                input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
                inputs.push_back(input);
            }
        }
        SendInputs(inputs, "'" + text + "'");
        Say("typed = " + text);
    }

    // A real press of the left mouse button on the middle of a control.
    void Mouse(int id) {
        HWND control = Usable(id);
        ToForeground();
        RECT r;
        GetWindowRect(control, &r);
        int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
        std::vector<INPUT> inputs(3);
        for (INPUT& input : inputs) {
            input.type = INPUT_MOUSE;
            input.mi.dx = ((r.left + r.right) / 2) * 65535 / (width - 1);
            input.mi.dy = ((r.top + r.bottom) / 2) * 65535 / (height - 1);
            input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE;
        }
        inputs[0].mi.dwFlags |= MOUSEEVENTF_MOVE;
        inputs[1].mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
        inputs[2].mi.dwFlags |= MOUSEEVENTF_LEFTUP;
        SendInputs(inputs, "the mouse click on " + std::to_string(id));
        Say("mouse " + std::to_string(id));
    }

    // Before a screenshot: every window of the program paints what it has pending now.
    void Paint() {
        for (HWND window : TopLevelWindows())
            RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        Settle();
        Say("painted");
    }

    HWND current_ = nullptr;
    DWORD timeout_ = 10000;
    std::wstring desktop_;
    PROCESS_INFORMATION program_{};
    LARGE_INTEGER since_{};  // the last `start` or `mark`, which `appeared` times from
    std::string programName_;
};

}  // namespace

int main(int argc, char** argv) {
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    Driver driver;
    std::string text;
    int number = 0;
    try {
        if (argc > 1) {
            Line line;
            for (int i = 1; i < argc; ++i) {
                if (std::strcmp(argv[i], "=") == 0) {
                    line.hasValue = true;
                    for (int j = i + 1; j < argc; ++j) line.value += (j > i + 1 ? " " : "") + std::string(argv[j]);
                    break;
                }
                line.words.push_back(argv[i]);
            }
            text = line.words.empty() ? "" : line.words[0];
            driver.Run(line);
            return 0;
        }
        char buffer[4096];
        while (std::fgets(buffer, sizeof(buffer), stdin) != nullptr) {
            ++number;
            text = buffer;
            while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
            size_t first = text.find_first_not_of(" \t");
            if (first == std::string::npos || text[first] == '#') continue;
            driver.Run(Split(text));
        }
    } catch (const Failure& failure) {
        std::fflush(stdout);
        if (number > 0)
            std::fprintf(stderr, "gui-driver: line %d: %s: %s\n", number, text.c_str(), failure.what());
        else
            std::fprintf(stderr, "gui-driver: %s: %s\n", text.c_str(), failure.what());
        return 1;
    }
    return 0;
}
