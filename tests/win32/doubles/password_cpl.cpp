// Test double of PASSWORD.CPL, the Windows 9x screen-saver password verifier. Its answer comes from
// SKYFOLD_DOUBLE_VERIFY ("accept", "reject" or "crash"; default reject) or, in-process, from
// DoubleSetVerifyResult; DoubleSetDuringVerify lets a test act while the "dialog" is up.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "tests/win32/doubles/double_log.h"

typedef void(WINAPI* DuringVerifyFn)(HWND window);

static struct {
    LONG calls;
    bool resultSet;
    BOOL result;
    DuringVerifyFn duringVerify;
} gVerifier;

static BOOL answerFromEnvironment() {
    char answer[16] = "";
    GetEnvironmentVariableA("SKYFOLD_DOUBLE_VERIFY", answer, sizeof answer);
    if (std::strcmp(answer, "crash") == 0) {
        volatile int* nowhere = NULL;
        *nowhere = 1;  // an access violation inside the saver's message handling
    }
    return std::strcmp(answer, "accept") == 0;
}

extern "C" BOOL WINAPI VerifyScreenSavePwd(HWND window) {
    ++gVerifier.calls;
    char line[64];
    std::snprintf(line, sizeof line, "VerifyScreenSavePwd %lu",
                  static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(window)));
    appendDoubleLog(line);
    if (gVerifier.duringVerify) gVerifier.duringVerify(window);
    return gVerifier.resultSet ? gVerifier.result : answerFromEnvironment();
}

extern "C" void WINAPI DoubleSetVerifyResult(BOOL result) {
    gVerifier.result = result;
    gVerifier.resultSet = true;
}

extern "C" LONG WINAPI DoubleVerifyCalls() {
    return gVerifier.calls;
}

extern "C" void WINAPI DoubleSetDuringVerify(DuringVerifyFn action) {
    gVerifier.duringVerify = action;
}
