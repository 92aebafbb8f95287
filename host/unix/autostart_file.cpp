// --install-autostart and --remove-autostart: the user's own XDG autostart entry for the watcher,
// written whole through a temporary file, with the previous one kept beside it. Never anyone
// else's, nor the system's.
#include <glib.h>
#include <glib/gstdio.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "host/idle_rules.h"
#include "host/unix/idle_watch.h"
#include "host/unix/program_path.h"

static const char kEntryName[] = "skyfold.desktop";
static const char kBackupSuffix[] = ".bak";
static const int kFolderMode = 0700;
static const int kRefusedExitCode = 1;

static std::string entryPath() {
    return std::string(g_get_user_config_dir()) + "/autostart/" + kEntryName;
}

static int refuse(const char* what, const std::string& path, const char* reason) {
    std::fprintf(stderr, "skyfold: cannot %s %s: %s\n", what, path.c_str(), reason);
    return kRefusedExitCode;
}

static bool copyFile(const std::string& from, const std::string& to, GError** error) {
    gchar* text = nullptr;
    gsize length = 0;
    if (!g_file_get_contents(from.c_str(), &text, &length, error)) return false;
    const bool copied = g_file_set_contents(to.c_str(), text, static_cast<gssize>(length), error);
    g_free(text);
    return copied;
}

int installAutostart(const ProgramOptions& options, const char* argv0) {
    const std::string path = entryPath();
    const std::string folder = path.substr(0, path.rfind('/'));
    if (g_mkdir_with_parents(folder.c_str(), kFolderMode) != 0) {
        return refuse("make", folder, std::strerror(errno));
    }
    GError* error = nullptr;
    if (g_file_test(path.c_str(), G_FILE_TEST_EXISTS) &&
        !copyFile(path, path + kBackupSuffix, &error)) {
        const int status = refuse("keep", path, error->message);
        g_error_free(error);
        return status;
    }
    const std::string entry = autostartEntry(ownProgramPath(argv0), watcherWords(options));
    if (!g_file_set_contents(path.c_str(), entry.c_str(), static_cast<gssize>(entry.size()),
                             &error)) {
        const int status = refuse("write", path, error->message);
        g_error_free(error);
        return status;
    }
    std::printf("skyfold: %s starts the idle watcher at login\n", path.c_str());
    return 0;
}

int removeAutostart() {
    const std::string path = entryPath();
    if (g_remove(path.c_str()) != 0 && errno != ENOENT) {
        return refuse("remove", path, std::strerror(errno));
    }
    return 0;
}
