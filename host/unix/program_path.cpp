// The program's own path, read once from the kernel's link.
#include "host/unix/program_path.h"

#include <unistd.h>

#include <climits>

std::string ownProgramPath(const char* argv0) {
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path);
    if (length <= 0 || static_cast<size_t>(length) >= sizeof path) return argv0;
    return std::string(path, static_cast<size_t>(length));
}
