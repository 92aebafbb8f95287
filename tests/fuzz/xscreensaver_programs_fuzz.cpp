// Fuzzes the edit of ~/.xscreensaver: any bytes give an answer without a crash; an added entry
// only inserts bytes (the old text is the new one's start and end around the insertion), and a
// second edit of the result finds the entry there.
#include <cstddef>
#include <cstdint>
#include <string>

#include "host/xscreensaver_programs.h"

static size_t commonPrefix(const std::string& a, const std::string& b) {
    size_t n = 0;
    while (n < a.size() && n < b.size() && a[n] == b[n]) ++n;
    return n;
}

static size_t commonSuffix(const std::string& a, const std::string& b) {
    size_t n = 0;
    while (n < a.size() && n < b.size() && a[a.size() - 1 - n] == b[b.size() - 1 - n]) ++n;
    return n;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string edited, again;
    char reason[kEditReasonBytes];
    if (addSkyfoldProgram(text, &edited, reason) != ProgramsEdit::Added) return 0;
    if (edited.size() <= text.size() ||
        commonPrefix(text, edited) + commonSuffix(text, edited) < text.size() ||
        addSkyfoldProgram(edited, &again, reason) != ProgramsEdit::AlreadyListed) {
        __builtin_trap();
    }
    return 0;
}
