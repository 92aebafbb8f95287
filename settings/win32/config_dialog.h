// The configuration dialog (template 2003) that edits and saves the settings. Win32 only.
#pragma once
#ifndef _WIN32
#error "config_dialog.h belongs to the Win32 settings dialog"
#endif

#include <windows.h>

INT_PTR CALLBACK configDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
