// The full-screen saver's lock: an advisory lock on a file in the user's runtime folder, named for
// the display. The system drops it when the process ends, killed or not, so a saver that died
// never keeps the next one from starting.
#include "host/wayland/saver_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

static struct {
    int file;  // held open for the process's life; -1 when no lock is held
} gLock = {-1};

static const char kDefaultDisplay[] = "wayland-0";  // libwayland's when WAYLAND_DISPLAY is unset
static const int kPathBytes = 512;
static const mode_t kOwnerOnly = 0600;

// The display's name as a file name: an absolute socket path's slashes become underscores.
static void lockPath(const char* runtimeDir, const char* display, char (&path)[kPathBytes]) {
    const int length = std::snprintf(path, kPathBytes, "%s/skyfold-saver-", runtimeDir);
    if (length < 0 || length >= kPathBytes) return;
    int at = length;
    for (const char* c = display; *c && at < kPathBytes - 6; ++c) path[at++] = *c == '/' ? '_' : *c;
    std::snprintf(path + at, static_cast<size_t>(kPathBytes - at), ".lock");
}

bool takeSaverLock(const char* runtimeDir, const char* waylandDisplay) {
    if (!runtimeDir || !*runtimeDir) return true;
    char path[kPathBytes];
    lockPath(runtimeDir, waylandDisplay && *waylandDisplay ? waylandDisplay : kDefaultDisplay,
             path);
    const int file = open(path, O_RDWR | O_CREAT | O_CLOEXEC, kOwnerOnly);
    if (file < 0) return true;
    if (flock(file, LOCK_EX | LOCK_NB) != 0) {
        const bool heldElsewhere = errno == EWOULDBLOCK;
        close(file);
        return !heldElsewhere;
    }
    gLock.file = file;
    return true;
}
