// What the Windows side sees of a running program, for the end-to-end tests
// under wine: its top-level windows by class or title, the display mode, a close
// request sent as a message, a preview host for the screensaver build (a parent
// window whose handle goes on the saver's command line), and a user filling in
// the screensaver's settings dialog.

#include "platform/win32.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Search {
    const char* className; // the windows of this class,
    const char* title;     // or, when className is null, of this title
    int found;
};

BOOL CALLBACK listOne(HWND window, LPARAM data) {
    Search& search = *reinterpret_cast<Search*>(data);
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    char title[256] = "";
    GetWindowTextA(window, title, sizeof title);
    if (search.className ? std::strcmp(name, search.className) != 0
                         : std::strcmp(title, search.title) != 0)
        return TRUE;
    RECT r;
    GetWindowRect(window, &r);
    std::printf("window \"%s\" visible %d style 0x%08lx rect %ld %ld %ld %ld", title,
                IsWindowVisible(window) ? 1 : 0,
                static_cast<unsigned long>(GetWindowLongA(window, GWL_STYLE)),
                static_cast<long>(r.left), static_cast<long>(r.top), static_cast<long>(r.right),
                static_cast<long>(r.bottom));
    if (!search.className)
        std::printf(" class \"%s\" exstyle 0x%08lx", name,
                    static_cast<unsigned long>(GetWindowLongA(window, GWL_EXSTYLE)));
    std::printf("\n");
    ++search.found;
    return TRUE;
}

void pumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// Runs this thread's messages (the saver's child sends its parent messages and
// waits for them) for ms milliseconds, or until the process ends: true if it did.
bool pumpUntilExit(HANDLE process, DWORD ms) {
    const DWORD start = GetTickCount();
    for (DWORD spent = 0; spent < ms; spent = GetTickCount() - start) {
        if (MsgWaitForMultipleObjects(1, &process, FALSE, ms - spent, QS_ALLINPUT) == WAIT_OBJECT_0)
            return true;
        pumpMessages();
    }
    return WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
}

// Pixels of the window that are not black, copied through its device context.
long colouredPixels(HWND window, int width, int height) {
    BITMAPINFO info;
    std::memset(&info, 0, sizeof info);
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC dc = GetDC(window);
    HDC memory = CreateCompatibleDC(dc);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    long coloured = 0;
    if (bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        if (BitBlt(memory, 0, 0, width, height, dc, 0, 0, SRCCOPY)) {
            GdiFlush();
            const DWORD* pixel = static_cast<const DWORD*>(bits);
            for (long i = 0; i < long(width) * height; ++i)
                if (pixel[i] & 0xFFFFFF) ++coloured;
        }
        SelectObject(memory, old);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(window, dc);
    return coloured;
}

// A 400x300 preview window; the command line gets SWITCH and the window's handle
// in decimal. Prints where the saver's child window lies, how many of its pixels
// are lit after up to two seconds, and, once the parent is destroyed, how the
// saver ended. Returns 0 when it ended within withinMs.
int preview(const char* command, const char* switchText, DWORD withinMs) {
    WNDCLASSA wc;
    std::memset(&wc, 0, sizeof wc);
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = "winprobePreview";
    RegisterClassA(&wc);
    HWND parent =
        CreateWindowA(wc.lpszClassName, "winprobe preview", WS_POPUP | WS_CLIPCHILDREN | WS_VISIBLE,
                      50, 50, 400, 300, NULL, NULL, wc.hInstance, NULL);
    if (!parent) return 1;
    pumpMessages();
    std::string line = std::string(command) + " " + switchText +
                       std::to_string(reinterpret_cast<unsigned long long>(parent));
    std::vector<char> writable(line.begin(), line.end());
    writable.push_back('\0');
    STARTUPINFOA startup;
    std::memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION saver;
    if (!CreateProcessA(NULL, writable.data(), NULL, NULL, FALSE, 0, NULL, NULL, &startup,
                        &saver)) {
        std::printf("cannot start %s (error %lu)\n", line.c_str(), GetLastError());
        return 1;
    }
    DWORD code = 0;
    HWND child = NULL;
    // A first wine start in a prefix takes seconds.
    for (int i = 0; i < 200 && !(child = GetWindow(parent, GW_CHILD)); ++i) {
        if (pumpUntilExit(saver.hProcess, 100)) {
            GetExitCodeProcess(saver.hProcess, &code);
            std::printf("exit %lu before any child window\n", static_cast<unsigned long>(code));
            return 1;
        }
    }
    if (!child) {
        std::printf("no child window after 20 s\n");
        TerminateProcess(saver.hProcess, 3);
        return 1;
    }
    RECT client, r;
    GetClientRect(parent, &client);
    GetWindowRect(child, &r);
    MapWindowPoints(NULL, parent, reinterpret_cast<POINT*>(&r), 2);
    std::printf("child %ld %ld %ld %ld of %ldx%ld visible %d\n", static_cast<long>(r.left),
                static_cast<long>(r.top), static_cast<long>(r.right), static_cast<long>(r.bottom),
                static_cast<long>(client.right), static_cast<long>(client.bottom),
                IsWindowVisible(child) ? 1 : 0);
    const int width = r.right - r.left, height = r.bottom - r.top;
    long coloured = 0;
    for (int i = 0; i < 20 && !coloured; ++i) {
        pumpUntilExit(saver.hProcess, 100);
        coloured = colouredPixels(child, width, height);
    }
    std::printf("coloured %ld of %ld\n", coloured, long(width) * height);
    // Under wine with no window manager, destroying a shown top-level window
    // waits two seconds for it to be withdrawn: the saver's time counts from then.
    const DWORD destroying = GetTickCount();
    DestroyWindow(parent);
    const DWORD destroyed = GetTickCount();
    if (!pumpUntilExit(saver.hProcess, withinMs)) {
        std::printf("running %lu ms after its parent went\n", static_cast<unsigned long>(withinMs));
        TerminateProcess(saver.hProcess, 3);
        return 1;
    }
    GetExitCodeProcess(saver.hProcess, &code);
    std::printf("exit %lu after %lu ms (destroying the parent took %lu ms)\n",
                static_cast<unsigned long>(code),
                static_cast<unsigned long>(GetTickCount() - destroyed),
                static_cast<unsigned long>(destroyed - destroying));
    return 0;
}

// Fills in the screensaver's settings dialog as a user would: the delay typed
// into its edit box, the pixel size picked from its list (item 0 is automatic),
// the feathered threads ticked or not, then OK. 0 when the dialog was there.
int settings(const char* delay, int pixelItem, bool feathered) {
    HWND dialog = NULL;
    for (int i = 0; i < 100 && !(dialog = FindWindowA("#32770", "Tessaline settings")); ++i)
        Sleep(100);
    if (!dialog) return 1;
    HWND edit = GetDlgItem(dialog, 101), list = GetDlgItem(dialog, 102);
    HWND tick = GetDlgItem(dialog, 103);
    if (!edit || !list || !tick) return 1;
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(delay));
    SendMessageA(list, CB_SETCURSEL, WPARAM(pixelItem), 0);
    SendMessageA(tick, BM_SETCHECK, feathered ? BST_CHECKED : BST_UNCHECKED, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    return 0;
}

int usage() {
    std::fputs("usage: winprobe windows CLASS | titled TITLE | close CLASS | mode | modes |\n"
               "                preview COMMAND-LINE SWITCH WITHIN-MS |\n"
               "                settings DELAY ITEM FEATHERED(0|1)\n",
               stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) return usage();
    const char* command = argv[1];
    if (std::strcmp(command, "windows") == 0 && argc == 3) {
        // Every top-level window of the class, one line each, then the count.
        Search search{argv[2], nullptr, 0};
        EnumWindows(listOne, reinterpret_cast<LPARAM>(&search));
        std::printf("count %d\n", search.found);
        return 0;
    }
    if (std::strcmp(command, "titled") == 0 && argc == 3) {
        // The same for every top-level window of the title, with class and extended style.
        Search search{nullptr, argv[2], 0};
        EnumWindows(listOne, reinterpret_cast<LPARAM>(&search));
        std::printf("count %d\n", search.found);
        return 0;
    }
    if (std::strcmp(command, "preview") == 0 && argc == 5)
        return preview(argv[2], argv[3], std::strtoul(argv[4], nullptr, 10));
    if (std::strcmp(command, "close") == 0 && argc == 3) {
        // The message a window manager's close button ends up as.
        HWND window = FindWindowA(argv[2], NULL);
        if (!window) return 1;
        return PostMessageA(window, WM_CLOSE, 0, 0) ? 0 : 1;
    }
    if (std::strcmp(command, "settings") == 0 && argc == 5)
        return settings(argv[2], std::atoi(argv[3]), std::strcmp(argv[4], "1") == 0);
    if (std::strcmp(command, "mode") == 0 && argc == 2) {
        DEVMODEA mode;
        std::memset(&mode, 0, sizeof mode);
        mode.dmSize = sizeof mode;
        if (!EnumDisplaySettingsA(NULL, ENUM_CURRENT_SETTINGS, &mode)) return 1;
        std::printf("%lux%lu\n", static_cast<unsigned long>(mode.dmPelsWidth),
                    static_cast<unsigned long>(mode.dmPelsHeight));
        return 0;
    }
    if (std::strcmp(command, "modes") == 0 && argc == 2) {
        DEVMODEA mode;
        for (DWORD i = 0;; ++i) {
            std::memset(&mode, 0, sizeof mode);
            mode.dmSize = sizeof mode;
            if (!EnumDisplaySettingsA(NULL, i, &mode)) break;
            std::printf("%lux%lu %lu bpp\n", static_cast<unsigned long>(mode.dmPelsWidth),
                        static_cast<unsigned long>(mode.dmPelsHeight),
                        static_cast<unsigned long>(mode.dmBitsPerPel));
        }
        return 0;
    }
    return usage();
}
