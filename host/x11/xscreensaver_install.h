// skyfold --install-xscreensaver: puts Skyfold into the user's xscreensaver list by editing
// ~/.xscreensaver (the text rules are in host/xscreensaver_programs.h), keeping the previous file
// as ~/.xscreensaver.bak. Needs no display. X11 (POSIX) only.
#pragma once
#ifdef _WIN32
#error "host/x11/xscreensaver_install.h belongs to the X11 host"
#endif

// Adds the entry, or finds it there already; says what it did in one line on stdout and returns
// 0. A file it must not change (unreadable, not a regular file, not a settings file) or cannot
// write is left as it was: one line on stderr says why, and the result is 1.
int installXscreensaverEntry();
