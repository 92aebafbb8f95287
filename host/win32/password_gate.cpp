// The password gate of Windows 9x saver runs: PASSWORD.CPL's verifier loaded when the desktop
// settings ask for a password, one dialog per close request with a short throttle after each, and
// MPR.DLL's password change for the "a" switch.
#include "host/win32/password_gate.h"

#include "host/password_throttle.h"
#include "host/win32/procedure_address.h"
#include "host/win32/run_modes.h"

typedef BOOL(WINAPI* VerifyPasswordFn)(HWND window);
typedef DWORD(WINAPI* ChangePasswordFn)(LPCSTR provider, HWND owner, DWORD reserved1,
                                        LPVOID reserved2);

static struct {
    HMODULE verifierLibrary;
    VerifyPasswordFn verifierEntry;
    LRESULT isClosing;        // the verifier's raw result once a close is approved, or 1
    bool inPasswordDialog;
    uint32_t lastVerifyTick;  // GetTickCount when the last verification request returned
} gGate = {NULL, NULL, 0, false, kNeverVerifiedTick};

static const UINT kSpiScreenSaverRunning = 97;        // SPI_SCREENSAVERRUNNING
static const int kTimerMessagesToDiscard = 2;
static const UINT kPeekRemoveNoYield = PM_REMOVE | PM_NOYIELD;

bool passwordIsClosing() { return gGate.isClosing != 0; }
bool passwordInDialog() { return gGate.inPasswordDialog; }
bool passwordVerifierLoaded() { return gGate.verifierEntry != NULL; }

void setSaverRunningFlag(bool running) {
    if (!hostIsWin9x()) return;
    UINT previousState = 0;
    SystemParametersInfoA(kSpiScreenSaverRunning, running ? 1 : 0, &previousState, 0);
}

static bool desktopAsksForPassword(HKEY desktopKey) {
    DWORD usePassword = 0;
    DWORD size = sizeof usePassword;
    const LONG status = RegQueryValueExA(desktopKey, "ScreenSaveUsePassword", NULL, NULL,
                                         reinterpret_cast<BYTE*>(&usePassword), &size);
    return status == ERROR_SUCCESS && usePassword != 0;
}

void loadPasswordVerifier() {
    gGate.isClosing = 0;  // every full-screen run decides its own close
    gGate.inPasswordDialog = false;
    gGate.lastVerifyTick = kNeverVerifiedTick;
    if (!hostIsWin9x()) return;
    if (gGate.verifierLibrary) unloadPasswordVerifier();

    HKEY desktopKey;
    if (RegOpenKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", &desktopKey) != ERROR_SUCCESS) {
        return;
    }
    if (desktopAsksForPassword(desktopKey)) {
        gGate.verifierLibrary = LoadLibraryA("PASSWORD.CPL");
        if (gGate.verifierLibrary) {
            gGate.verifierEntry =
                procedureAddress<VerifyPasswordFn>(gGate.verifierLibrary, "VerifyScreenSavePwd");
            if (gGate.verifierEntry) {
                setSaverRunningFlag(true);
            } else {
                unloadPasswordVerifier();
            }
        }
    }
    RegCloseKey(desktopKey);
}

void unloadPasswordVerifier() {
    if (!hostIsWin9x() || !gGate.verifierLibrary) return;
    FreeLibrary(gGate.verifierLibrary);
    gGate.verifierLibrary = NULL;
    if (gGate.verifierEntry) {
        gGate.verifierEntry = NULL;
        setSaverRunningFlag(false);
    }
}

// Timer messages queued while the verifier was not yet showing would otherwise repaint the scene
// over the dialog's first moments.
static void discardPendingTimers(HWND window) {
    MSG discarded;
    for (int i = 0; i < kTimerMessagesToDiscard; ++i) {
        PeekMessageA(&discarded, window, WM_TIMER, WM_TIMER, kPeekRemoveNoYield);
    }
}

bool verifyBeforeClose(HWND window) {
    if (gGate.inPasswordDialog) return false;
    if (!gGate.verifierEntry) {
        gGate.isClosing = 1;
        return true;
    }
    if (isVerifyThrottled(gGate.lastVerifyTick, GetTickCount())) return false;

    gGate.inPasswordDialog = true;
    discardPendingTimers(window);
    gGate.isClosing = SendMessageA(window, kVerificationRequestMessage, 0, 0);
    gGate.inPasswordDialog = false;
    if (gGate.isClosing == 0) SetCursor(NULL);
    gGate.lastVerifyTick = GetTickCount();
    return gGate.isClosing != 0;
}

LRESULT answerVerificationRequest(HWND window) {
    if (!gGate.verifierEntry) return 1;
    return gGate.verifierEntry(window);
}

void changePassword(HWND owner) {
    const HMODULE library = LoadLibraryA("MPR.DLL");
    if (!library) return;
    const ChangePasswordFn changeEntry =
        procedureAddress<ChangePasswordFn>(library, "PwdChangePasswordA");
    if (changeEntry) changeEntry("SCRSAVE", owner, 0, NULL);
    FreeLibrary(library);
}
