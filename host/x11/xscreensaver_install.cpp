// The file side of --install-xscreensaver: finds ~/.xscreensaver (through a symbolic link to the
// file it names, so that a link into a dotfiles folder stays a link), reads it whole, and writes
// the backup and then the new text, each into a temporary file in the same folder that is renamed
// over the old one: a crash or a full disk leaves the old file or the new one, never half of one.
#include "host/x11/xscreensaver_install.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "host/xscreensaver_programs.h"
#include "settings/unix/user_files.h"

static const char kFileName[] = "/.xscreensaver";
static const char kBackupSuffix[] = ".bak";
static const mode_t kNewFileMode = 0666;           // less the umask, as for any new file
static const int kRefusedExitCode = 1;

struct ExistingFile {
    bool exists;
    struct stat status;  // when it exists
    std::string text;
};

static int refuse(const char* what, const std::string& path, int error) {
    std::fprintf(stderr, "skyfold: cannot %s %s: %s\n", what, path.c_str(), std::strerror(error));
    return kRefusedExitCode;
}

// The file a link at path names, or path itself; false (errno set) for a link that leads nowhere.
static bool resolveLink(const std::string& path, std::string* target) {
    struct stat link;
    *target = path;
    if (lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return true;
    char* resolved = realpath(path.c_str(), nullptr);
    if (!resolved) return false;
    *target = resolved;
    std::free(resolved);
    return true;
}

// Reads a regular file to one byte past the size limit, so that a larger file shows as larger;
// of anything else only its status. Non-blocking, so that a pipe in the file's place cannot hang
// the command. false with errno set on failure.
static bool readExisting(const std::string& path, ExistingFile* file) {
    file->exists = false;
    const int handle = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (handle < 0) return errno == ENOENT;
    file->exists = true;
    bool ok = fstat(handle, &file->status) == 0;
    const bool regular = ok && S_ISREG(file->status.st_mode);
    std::vector<char> buffer(regular ? kMaxXscreensaverFileBytes + 1 : 0);
    size_t filled = 0;
    while (ok && filled < buffer.size()) {
        const ssize_t got = read(handle, buffer.data() + filled, buffer.size() - filled);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) ok = false;
        if (got <= 0) break;
        filled += static_cast<size_t>(got);
    }
    const int error = errno;
    close(handle);
    file->text.assign(buffer.data(), filled);
    errno = error;
    return ok;
}

int installXscreensaverEntry() {
    const std::string home = homeFolder();
    if (home.empty()) {
        std::fprintf(stderr, "skyfold: cannot find the home folder: HOME is not set\n");
        return kRefusedExitCode;
    }
    const std::string path = home + kFileName;
    std::string target;
    ExistingFile existing;
    if (!resolveLink(path, &target) || !readExisting(target, &existing)) {
        return refuse("read", path, errno);
    }
    if (existing.exists && !S_ISREG(existing.status.st_mode)) {
        std::fprintf(stderr, "skyfold: %s is not a regular file; it is left as it was\n",
                     path.c_str());
        return kRefusedExitCode;
    }
    std::string edited;
    char reason[kEditReasonBytes];
    switch (addSkyfoldProgram(existing.text, &edited, reason)) {
    case ProgramsEdit::Refused:
        std::fprintf(stderr, "skyfold: %s is left as it was: %s\n", path.c_str(), reason);
        return kRefusedExitCode;
    case ProgramsEdit::AlreadyListed:
        std::printf("skyfold: %s lists skyfold already; nothing changed\n", path.c_str());
        return 0;
    case ProgramsEdit::Added:
        break;
    }
    // The backup and the file keep the old file's mode and owner.
    const struct stat* like = existing.exists ? &existing.status : nullptr;
    const std::string backup = path + kBackupSuffix;
    if (existing.exists) {
        const int error = replaceFileWhole(backup, existing.text, like, kNewFileMode);
        if (error) return refuse("write", backup, error);
    }
    const int error = replaceFileWhole(target, edited, like, kNewFileMode);
    if (error) return refuse("write", target, error);
    if (existing.exists) {
        std::printf("skyfold: added \"%s\" to the programs in %s; the previous file is %s\n",
                    kSkyfoldProgramEntry, path.c_str(), backup.c_str());
    } else {
        std::printf("skyfold: made %s with \"%s\" in its programs\n", path.c_str(),
                    kSkyfoldProgramEntry);
    }
    return 0;
}
