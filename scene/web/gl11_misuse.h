// How the OpenGL 1.1 layer stops on a call it does not implement: the call's name and the value it
// was given on stderr, then abort. Never returns.
#pragma once

[[noreturn]] void gl11Misuse(const char* call, unsigned value);
