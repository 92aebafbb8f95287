// Screen-saver password support of Windows 95/98/Me: the platform's verifier, the system's
// screen-saver-running flag, the decision whether a close may go ahead, and the password change.
// Every operation does nothing on other platforms. Win32 only.
#pragma once
#ifndef _WIN32
#error "password_gate.h belongs to the Win32 host"
#endif

#include <windows.h>

// Sent to the saver window to run the verifier; it travels the window's whole message path.
const UINT kVerificationRequestMessage = WM_APP;

void loadPasswordVerifier();
void unloadPasswordVerifier();
void setSaverRunningFlag(bool running);

// Answers whether a close of the window may go ahead, showing the verifier's dialog if needed.
bool verifyBeforeClose(HWND window);

// The verification request (WM_APP) as the saver window answers it: the verifier's result, or 1.
LRESULT answerVerificationRequest(HWND window);

// Runs the platform's password-change dialog for the screen saver, owned by the window.
void changePassword(HWND owner);

bool passwordIsClosing();       // a close has been approved
bool passwordInDialog();        // a verification request is under way
bool passwordVerifierLoaded();
