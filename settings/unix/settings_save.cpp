// Saving the Linux settings file, as the settings dialog's OK does: the three settings written into
// the file as it is now (every other line kept), as a new file beside it renamed into place, so
// that the file is always whole; a failure leaves the old file as it was and is reported.
#include "settings/unix/settings_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

#include "settings/unix/user_files.h"

static const mode_t kNewFolderMode = S_IRWXU;             // private, as the config folder itself
static const mode_t kNewFileMode = S_IRUSR | S_IWUSR;    // a file that is there keeps its own
static const size_t kReadChunkBytes = 16 * 1024;

// Makes the folder and every missing folder above it; 0 or an errno.
static int makeFolders(const std::string& folder) {
    struct stat status;
    if (stat(folder.c_str(), &status) == 0) return S_ISDIR(status.st_mode) ? 0 : ENOTDIR;
    if (errno != ENOENT) return errno;
    const std::string parent = folderOf(folder);
    if (parent != folder) {
        const int error = makeFolders(parent);
        if (error) return error;
    }
    return mkdir(folder.c_str(), kNewFolderMode) == 0 || errno == EEXIST ? 0 : errno;
}

// A link in the file's place (a shared set of dotfiles, say) stays a link: its target is the file
// that is replaced.
static std::string fileToReplace(const std::string& path) {
    char resolved[PATH_MAX];
    return realpath(path.c_str(), resolved) ? resolved : path;
}

struct FileNow {
    std::string text;    // all of it: every line is written back
    bool exists;         // a regular file is there
    struct stat status;  // then its mode and owner, which the new file keeps
};

// The file as it is, or an empty one when there is none. Anything but a regular file in its place
// counts as none (the rename below then fails on a folder). 0 or an errno: a file that is there
// but cannot be read is not replaced, as its lines would be lost.
static int readFileNow(const std::string& path, FileNow* now) {
    now->text.clear();
    now->exists = false;
    const int file = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (file < 0) return errno == ENOENT ? 0 : errno;
    int error = fstat(file, &now->status) == 0 ? 0 : errno;
    if (!error && S_ISREG(now->status.st_mode)) {
        now->exists = true;
        char chunk[kReadChunkBytes];
        for (;;) {
            const ssize_t got = read(file, chunk, sizeof chunk);
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) error = errno;
            if (got <= 0) break;
            now->text.append(chunk, static_cast<size_t>(got));
        }
    }
    close(file);
    return error;
}

static int writeSettingsFile(const std::string& path) {
    const std::string folder = folderOf(path);
    int error = makeFolders(folder);
    FileNow now;
    if (!error) error = readFileNow(path, &now);
    if (!error) {
        error = replaceFileWhole(path, settingsTextWith(now.text, saverSettings),
                                 now.exists ? &now.status : nullptr, kNewFileMode);
    }
    return error;
}

bool saveSettings() {
    const std::string path = fileToReplace(settingsFilePath());
    const int error = writeSettingsFile(path);
    if (error) reportSettingsSaveFailure(path.c_str(), error);
    return error == 0;
}
