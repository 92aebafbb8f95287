// Run-time binding of optional system entries (PASSWORD.CPL, MPR.DLL, IMM32.DLL). Win32 only.
#pragma once
#ifndef _WIN32
#error "procedure_address.h belongs to the Win32 host"
#endif

#include <windows.h>

// The named export of the module as a typed function pointer, or null when it is missing.
template <typename Function>
Function procedureAddress(HMODULE module, const char* name) {
    // Through a generic function pointer: the one cast between function types both compilers accept.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)(void)>(GetProcAddress(module, name)));
}
