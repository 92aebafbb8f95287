// One full-screen saver at a time on a Wayland display: idle daemons start their command at every
// idle period, whether or not the last one still runs. Wayland only.
#pragma once
#ifdef _WIN32
#error "host/wayland/saver_lock.h belongs to the Wayland host"
#endif

// Takes the lock of the display that waylandDisplay names, in runtimeDir ($XDG_RUNTIME_DIR,
// private to the user). False when another process holds it; true once this one does, and also
// when no lock can be made at all (nothing then tells of another saver). The lock lives as long as
// the process, however it ends.
bool takeSaverLock(const char* runtimeDir, const char* waylandDisplay);
