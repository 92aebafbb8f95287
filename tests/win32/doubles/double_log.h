// Shared by the test doubles of the Windows 9x password components: appends one line to the file
// named by SKYFOLD_DOUBLE_LOG, if set, so that a test can see every call made across processes.
#pragma once

#include <windows.h>

#include <cstdio>

inline void appendDoubleLog(const char* line) {
    char path[MAX_PATH];
    if (!GetEnvironmentVariableA("SKYFOLD_DOUBLE_LOG", path, sizeof path)) return;
    FILE* log = std::fopen(path, "a");
    if (!log) return;
    std::fprintf(log, "%s\n", line);
    std::fclose(log);
}
