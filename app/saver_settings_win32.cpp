// The Windows screensaver's settings: kept for each user under
// HKEY_CURRENT_USER\Software\Tessaline (REG_DWORD Delay, PixelSize and Feathered), and set
// in the dialog the system opens with /c.

#include "app/saver_settings_win32.h"

#include "app/saver_dialog.h"

#include <commctrl.h>
#include <cstdio>

namespace {

const char kKey[] = "Software\\Tessaline";

// A DWORD value, or false for a missing value or one of any other type or size.
bool readDword(HKEY key, const char* name, DWORD& out) {
    DWORD type = 0, size = sizeof out;
    return RegQueryValueExA(key, name, NULL, &type, reinterpret_cast<BYTE*>(&out), &size) ==
               ERROR_SUCCESS &&
           type == REG_DWORD && size == sizeof out;
}

bool writeSettings(DWORD delay, DWORD pixelSize, DWORD feathered) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, NULL, 0, KEY_SET_VALUE, NULL, &key, NULL) !=
        ERROR_SUCCESS)
        return false;
    const bool saved =
        RegSetValueExA(key, "Delay", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&delay),
                       sizeof delay) == ERROR_SUCCESS &&
        RegSetValueExA(key, "PixelSize", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&pixelSize),
                       sizeof pixelSize) == ERROR_SUCCESS &&
        RegSetValueExA(key, "Feathered", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&feathered),
                       sizeof feathered) == ERROR_SUCCESS;
    RegCloseKey(key);
    return saved;
}

void fillDialog(HWND dialog) {
    const SaverSettings s = readSaverSettings();
    SetDlgItemInt(dialog, IDC_SAVER_DELAY, s.pace(), FALSE);
    SendDlgItemMessageA(dialog, IDC_SAVER_PIXEL, CB_ADDSTRING, 0,
                        reinterpret_cast<LPARAM>("Automatic"));
    for (int n = 1; n <= SaverSettings::kMaxPixelSize; ++n) {
        char text[8];
        std::snprintf(text, sizeof text, "%d", n);
        SendDlgItemMessageA(dialog, IDC_SAVER_PIXEL, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(text));
    }
    // Item 0 is automatic (pixel size 0), item n is n.
    SendDlgItemMessageA(dialog, IDC_SAVER_PIXEL, CB_SETCURSEL, WPARAM(s.pixelSize), 0);
    CheckDlgButton(dialog, IDC_SAVER_FEATHERED, s.feathered ? BST_CHECKED : BST_UNCHECKED);
}

// OK: a delay within range is saved with the pixel size and ends the dialog;
// anything else says what is wanted and leaves the dialog open.
void accept(HWND dialog) {
    BOOL read = FALSE;
    const UINT delay = GetDlgItemInt(dialog, IDC_SAVER_DELAY, &read, FALSE);
    if (!read || delay > SaverSettings::kMaxDelay) {
        MessageBoxA(dialog, "The delay is a whole number of microseconds from 0 to 1000000.",
                    "Tessaline", MB_OK | MB_ICONWARNING);
        SetFocus(GetDlgItem(dialog, IDC_SAVER_DELAY));
        return;
    }
    const LRESULT item = SendDlgItemMessageA(dialog, IDC_SAVER_PIXEL, CB_GETCURSEL, 0, 0);
    const DWORD feathered = IsDlgButtonChecked(dialog, IDC_SAVER_FEATHERED) == BST_CHECKED;
    if (!writeSettings(delay, item > 0 ? DWORD(item) : 0, feathered)) {
        MessageBoxA(dialog, "The settings could not be saved.", "Tessaline", MB_OK | MB_ICONERROR);
        return;
    }
    EndDialog(dialog, IDOK);
}

INT_PTR CALLBACK settingsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        fillDialog(dialog);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            accept(dialog);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}

} // namespace

SaverSettings readSaverSettings() {
    DWORD delay = 0, pixelSize = 0, feathered = 0;
    bool haveDelay = false, havePixelSize = false, haveFeathered = false;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
        haveDelay = readDword(key, "Delay", delay);
        havePixelSize = readDword(key, "PixelSize", pixelSize);
        haveFeathered = readDword(key, "Feathered", feathered);
        RegCloseKey(key);
    }
    return settingsFromValues(haveDelay ? &delay : nullptr, havePixelSize ? &pixelSize : nullptr,
                              haveFeathered ? &feathered : nullptr);
}

int configureSaver(HINSTANCE instance, HWND owner) {
    // The manifest binds the dialog's edit, combo box, buttons and labels to
    // Common Controls 6, whose themed classes this registers. The dialog is tried
    // whatever it answers: a dialog that cannot be made is reported below.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    const INT_PTR result = DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_SAVER_SETTINGS),
                                           IsWindow(owner) ? owner : NULL, settingsProc, 0);
    return result == -1 ? 1 : 0; // -1: the dialog could not be made
}
