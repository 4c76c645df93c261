// The stand-in USB driver installer: "2" puts bulkusb.sys into system32\drivers, "22" removes it, while a
// window captioned "VORL print system setup" is shown for a moment.
#include <windows.h>

#include <string>

namespace {

const char kCaption[] = "VORL print system setup";
const char kClass[] = "VorlUsbDriverInstaller";
const UINT kShownMilliseconds = 1500;

std::string ModuleDirectory() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        DWORD length = GetModuleFileNameA(nullptr, &path[0], static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return path.substr(0, path.rfind('\\') + 1);
}

std::string DriversDirectory() {
    UINT size = GetWindowsDirectoryA(nullptr, 0);
    std::string dir(size, '\0');
    dir.resize(GetWindowsDirectoryA(&dir[0], size));
    return dir + "\\system32\\drivers";
}

bool InstallDriver() {
    std::string target = DriversDirectory();
    CreateDirectoryA(target.c_str(), nullptr);
    std::string source = ModuleDirectory() + "bulkusb.sys";
    return CopyFileA(source.c_str(), (target + "\\bulkusb.sys").c_str(), FALSE) != 0;
}

bool RemoveDriver() {
    std::string target = DriversDirectory() + "\\bulkusb.sys";
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    return DeleteFileA(target.c_str()) != 0 || GetLastError() == ERROR_FILE_NOT_FOUND;
}

// The command line's first word, without quotes.
std::string Argument(const char* commandLine) {
    std::string word;
    for (const char* p = commandLine; *p != '\0'; ++p) {
        if (*p == ' ' || *p == '\t') {
            if (!word.empty()) break;
        } else if (*p != '"') {
            word += *p;
        }
    }
    return word;
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT area;
        GetClientRect(window, &area);
        DrawTextA(dc, "Installing the USB device driver...", -1, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        EndPaint(window, &paint);
        return 0;
    }
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

HWND ShowWindowForAMoment(HINSTANCE instance) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_WAIT);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClass;
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA(kClass, kCaption, WS_OVERLAPPED | WS_CAPTION, CW_USEDEFAULT, CW_USEDEFAULT, 360,
                                120, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) return nullptr;
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    SetTimer(window, 1, kShownMilliseconds, nullptr);
    return window;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    HWND window = ShowWindowForAMoment(instance);
    std::string argument = Argument(commandLine);
    bool ok = true;
    if (argument == "2") ok = InstallDriver();
    else if (argument == "22") ok = RemoveDriver();
    if (window != nullptr) {
        MSG message;
        while (GetMessageA(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return ok ? 0 : 1;
}
