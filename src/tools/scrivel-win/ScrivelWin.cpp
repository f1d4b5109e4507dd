// Scrivel.exe stand-in built for Windows: a real Win32 program, so that under
// Wine it runs inside the prefix with its own wineserver, exactly as Scrivel
// does. Like Scrivel it reads its activation keys once, at start, through the
// Win32 registry API; it keeps a hidden top-level window titled "Scrivel" and
// a visible main window "Scrivel - " + tagline, shows the active modules, and
// ends when either window is asked to close.
//
// Options (command line, or the environment when the launcher gives none):
//   /report:<file>        SCRIVEL_SIM_REPORT=<file>  write the active modules
//                         there at start, one "Bibles\<tab name>" (etc.) line
//                         each, UTF-8; a Linux path is reached through Z:
//   /refuse-close:<n>     SCRIVEL_SIM_REFUSE_CLOSE=<n>  refuse the first n
//                         close requests (as Scrivel does while it asks its
//                         own question)

#include <windows.h>

#include <cwchar>
#include <string>
#include <vector>

#include "core/host/HostInterface.h"

namespace {

using modshelf::host::kActiveText;
using modshelf::host::kBiblesSubkey;
using modshelf::host::kCommentariesSubkey;
using modshelf::host::kDictionariesSubkey;
using modshelf::host::kHostMainWindowTagline;
using modshelf::host::kHostMainWindowTitlePrefix;
using modshelf::host::kHostResourceKey;
using modshelf::host::kHostWindowTitle;

int refusalsLeft = 0;
HWND nameWindow = nullptr;
HWND mainWindow = nullptr;

std::wstring widen(std::string_view text) {
    if (text.empty()) return {};
    const int size =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
    return out;
}

std::string narrow(std::wstring_view text) {
    if (text.empty()) return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                        nullptr, nullptr);
    return out;
}

struct ActiveModule {
    std::wstring category;
    std::wstring tabName;
};

std::vector<ActiveModule> readActiveModules() {
    std::vector<ActiveModule> result;
    for (std::string_view category : {kBiblesSubkey, kCommentariesSubkey, kDictionariesSubkey}) {
        const std::wstring key = widen(kHostResourceKey) + L"\\" + widen(category);
        HKEY handle = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
            continue;
        for (DWORD index = 0;; ++index) {
            wchar_t name[16384];
            DWORD nameLength = 16384;
            BYTE data[4096];
            DWORD dataSize = sizeof data;
            DWORD type = 0;
            const LONG status =
                RegEnumValueW(handle, index, name, &nameLength, nullptr, &type, data, &dataSize);
            if (status == ERROR_NO_MORE_ITEMS) break;
            if (status != ERROR_SUCCESS || nameLength == 0 || type != REG_SZ) continue;
            std::wstring text(reinterpret_cast<const wchar_t*>(data), dataSize / sizeof(wchar_t));
            while (!text.empty() && text.back() == L'\0') text.pop_back();
            if (_wcsicmp(text.c_str(), widen(kActiveText).c_str()) == 0)
                result.push_back({widen(category), std::wstring(name, nameLength)});
        }
        RegCloseKey(handle);
    }
    return result;
}

// "/tmp/x" means the Linux file: Wine shows the whole Linux tree as Z:.
std::wstring windowsPath(std::wstring path) {
    if (!path.empty() && path.front() == L'/') {
        for (wchar_t& c : path)
            if (c == L'/') c = L'\\';
        path = L"Z:" + path;
    }
    return path;
}

bool writeReport(const std::wstring& file, const std::vector<ActiveModule>& modules) {
    std::string text;
    for (const ActiveModule& module : modules)
        text += narrow(module.category) + "\\" + narrow(module.tabName) + "\n";
    // Written beside the target and renamed, so a reader never sees half a report.
    const std::wstring partial = file + L".partial";
    HANDLE handle = CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok =
        WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(handle);
    if (!ok || written != text.size()) return false;
    return MoveFileExW(partial.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CLOSE:
            if (refusalsLeft > 0) {
                --refusalsLeft;
                return 0;
            }
            // Either window ends the program, as closing Scrivel does.
            if (nameWindow) DestroyWindow(nameWindow);
            if (mainWindow) DestroyWindow(mainWindow);
            return 0;
        case WM_DESTROY:
            if (window == nameWindow) nameWindow = nullptr;
            if (window == mainWindow) mainWindow = nullptr;
            if (!nameWindow && !mainWindow) PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

std::wstring option(int argc, wchar_t** argv, const wchar_t* name, const char* variable) {
    const std::wstring prefix = std::wstring(L"/") + name + L":";
    for (int i = 1; i < argc; ++i) {
        const std::wstring arg = argv[i];
        if (arg.rfind(prefix, 0) == 0) return arg.substr(prefix.size());
    }
    wchar_t buffer[32768];
    const DWORD length = GetEnvironmentVariableW(widen(variable).c_str(), buffer, 32768);
    return length > 0 && length < 32768 ? std::wstring(buffer, length) : std::wstring();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    refusalsLeft = _wtoi(option(argc, argv, L"refuse-close", "SCRIVEL_SIM_REFUSE_CLOSE").c_str());
    const std::wstring report = option(argc, argv, L"report", "SCRIVEL_SIM_REPORT");

    const std::vector<ActiveModule> modules = readActiveModules();
    if (!report.empty()) writeReport(windowsPath(report), modules);

    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = L"ScrivelStandIn";
    RegisterClassW(&windowClass);

    // Never shown, like the owner window that carries Scrivel's bare name.
    nameWindow = CreateWindowExW(0, windowClass.lpszClassName, widen(kHostWindowTitle).c_str(),
                                 WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, instance, nullptr);
    const std::wstring mainTitle =
        widen(kHostMainWindowTitlePrefix) + widen(kHostMainWindowTagline);
    mainWindow = CreateWindowExW(0, windowClass.lpszClassName, mainTitle.c_str(),
                                 WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 480, 360,
                                 nullptr, nullptr, instance, nullptr);
    if (!nameWindow || !mainWindow) return 1;

    std::wstring shown = L"Active modules, read from the registry at start:";
    for (const ActiveModule& module : modules)
        shown += L"\r\n" + module.category + L"\\" + module.tabName;
    if (modules.empty()) shown += L"\r\n(none)";
    CreateWindowExW(0, L"EDIT", shown.c_str(),
                    WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY, 8, 8, 448, 300,
                    mainWindow, nullptr, instance, nullptr);
    ShowWindow(mainWindow, show);
    UpdateWindow(mainWindow);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    LocalFree(argv);
    return 0;
}
