// The user's own files on Linux, as both the settings store and --install-xscreensaver handle them:
// where the home folder is, and replacing a file whole so that it is never left half written.
// Linux (POSIX) only.
#pragma once
#ifdef _WIN32
#error "settings/unix/user_files.h belongs to the Linux build"
#endif

#include <sys/stat.h>

#include <string>

// $HOME when it is an absolute path, else the home folder in the password entry; empty when
// neither is known.
std::string homeFolder();

// The folder part of a path that names a file ("/a/b/c" gives "/a/b").
std::string folderOf(const std::string& path);

// Writes text into a new file beside path and renames it over path. The file takes the mode and
// owner of existing when that is given (the file being replaced), else newFileMode less the umask.
// The rename reaches the disk with its folder. Returns 0, or the errno of the step that failed; the old file is then untouched and no new one
// is left behind.
int replaceFileWhole(const std::string& path, const std::string& text,
                     const struct stat* existing, mode_t newFileMode);
