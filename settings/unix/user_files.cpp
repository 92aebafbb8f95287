// Home folder and whole-file replacement for the Linux build: the new text goes to a temporary file
// in the same folder, reaches the disk, and is renamed into place in one step.
#include "settings/unix/user_files.h"

#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

static const char kTemporaryFileSuffix[] = ".XXXXXX";  // mkstemp's pattern, after the name

std::string homeFolder() {
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') return home;
    const passwd* user = getpwuid(getuid());
    return user && user->pw_dir ? user->pw_dir : "";
}

std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos || slash == 0 ? "/" : path.substr(0, slash);
}

static int writeAll(int file, const std::string& text) {
    for (size_t written = 0; written < text.size();) {
        const ssize_t put = write(file, text.data() + written, text.size() - written);
        if (put < 0 && errno == EINTR) continue;
        if (put < 0) return errno;
        written += static_cast<size_t>(put);
    }
    return 0;
}

static mode_t modeFor(const struct stat* existing, mode_t newFileMode) {
    if (existing) return existing->st_mode & 07777;
    const mode_t mask = umask(0);
    umask(mask);
    return newFileMode & ~mask;
}

// Only root may give a file away; a user's own file keeps its owner without asking.
static int keepOwner(int file, const struct stat* existing) {
    if (!existing || (existing->st_uid == geteuid() && existing->st_gid == getegid())) return 0;
    return fchown(file, existing->st_uid, existing->st_gid) == 0 ? 0 : errno;
}

static void syncFolder(const std::string& folder) {
    const int handle = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (handle < 0) return;
    fsync(handle);
    close(handle);
}

int replaceFileWhole(const std::string& path, const std::string& text,
                     const struct stat* existing, mode_t newFileMode) {
    std::string temporary = path + kTemporaryFileSuffix;
    const int file = mkostemp(&temporary[0], O_CLOEXEC);
    if (file < 0) return errno;
    fchmod(file, modeFor(existing, newFileMode));  // where the file system keeps no modes, none is kept
    int error = writeAll(file, text);
    if (!error) error = keepOwner(file, existing);
    if (!error && fsync(file) != 0) error = errno;
    if (close(file) != 0 && !error) error = errno;  // a full disk may show only here
    if (!error && rename(temporary.c_str(), path.c_str()) != 0) error = errno;
    if (error) {
        unlink(temporary.c_str());
    } else {
        syncFolder(folderOf(path));
    }
    return error;
}
