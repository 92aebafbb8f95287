// The text of xscreensaver's per-user settings file (~/.xscreensaver) and the one change Skyfold
// makes to it: its entry at the end of the "programs" list, every other byte left as it was. Pure
// text; host/x11/ reads and writes the file.
#pragma once

#include <cstddef>
#include <string>

// The entry: GL asks the daemon for a visual that OpenGL can draw on; --root draws on its window.
extern const char kSkyfoldProgramEntry[];  // "GL: skyfold --root"

// The daemon's own file is some 10 KB; anything much larger is not one.
const size_t kMaxXscreensaverFileBytes = 1024 * 1024;

enum class ProgramsEdit {
    Added,          // *edited is the text with the entry
    AlreadyListed,  // the programs list runs skyfold already, enabled or disabled: nothing to do
    Refused         // the text is not a settings file that can be edited safely: see reason
};

const size_t kEditReasonBytes = 120;

// Adds the entry to the last "programs" resource (the one in force), or appends that resource when
// there is none. Refuses text with a NUL byte or over the size limit, a line that is neither blank,
// a comment ('#' or '!') nor "name: value", and a continued line ('\' at its end) that runs into
// the end of the file; reason is then one line without a trailing newline.
ProgramsEdit addSkyfoldProgram(const std::string& text, std::string* edited,
                               char (&reason)[kEditReasonBytes]);
