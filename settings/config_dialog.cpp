// The configuration dialog's procedure. For now it closes on OK or Cancel with result 1, which is
// what the host's configure mode reports as its exit code; the skinned editing comes next.
#include "settings/config_dialog.h"

static const INT_PTR kDialogResult = 1;  // both OK and Cancel end the dialog with 1

INT_PTR CALLBACK configDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG: return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dialog, kDialogResult);
            return TRUE;
        default: return FALSE;
    }
}
