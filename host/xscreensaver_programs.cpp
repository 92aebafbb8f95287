// Reading ~/.xscreensaver as the daemon's resource file: logical lines (a '\' just before the
// newline continues a line), comments, "name: value" resources, and in the programs resource the
// entries that the two characters "\n" separate. The edit only ever inserts the new entry's bytes.
#include "host/xscreensaver_programs.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

const char kSkyfoldProgramEntry[] = "GL: skyfold --root";

static const char kProgramName[] = "skyfold";
static const char kProgramsName[] = "programs";
static const char kDaemonClass[] = "xscreensaver";  // "XScreenSaver.programs" names it as well
// The new entry's line, laid out as xscreensaver-settings lays out its own; the padding lines up
// the "\n" after it.
static const char kEntryLine[] = "  GL: \t\t\t\tskyfold --root";
static const char kEntryPadding[] = "\t\t\t    ";

struct Span {
    size_t begin;  // indices into the text
    size_t end;
};

struct Scan {
    bool found;    // a programs resource
    Span value;    // the last one's value: after its ':' to the newline that ends it
    char (&reason)[kEditReasonBytes];

    template <typename... Args>
    bool fail(const char* format, Args... args) {
        std::snprintf(reason, kEditReasonBytes, format, args...);
        return false;
    }
};

static bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

static char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

static bool startsWithWord(const std::string& text, Span span, const char* word) {
    const size_t length = std::strlen(word);
    if (span.end - span.begin < length) return false;
    for (size_t i = 0; i < length; ++i) {
        if (lowerAscii(text[span.begin + i]) != word[i]) return false;
    }
    return true;
}

static bool isNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           c == '_' || c == '-' || c == '.' || c == '*';
}

// "programs", "*programs", "XScreenSaver.programs": the resource names, without regard to case.
static bool namesPrograms(const std::string& text, Span name) {
    const size_t classLength = sizeof kDaemonClass - 1;
    if (startsWithWord(text, name, kDaemonClass) && name.end - name.begin > classLength &&
        (text[name.begin + classLength] == '.' || text[name.begin + classLength] == '*')) {
        name.begin += classLength;
    }
    while (name.begin < name.end && (text[name.begin] == '.' || text[name.begin] == '*')) {
        ++name.begin;
    }
    return name.end - name.begin == sizeof kProgramsName - 1 &&
           startsWithWord(text, name, kProgramsName);
}

// One logical line [begin, end) whose first physical line is number: blank, a comment, or a
// resource; a resource named programs becomes the scan's value.
static bool readLine(const std::string& text, Span line, size_t number, Scan* scan) {
    size_t first = line.begin;
    while (first < line.end && isBlank(text[first])) ++first;
    if (first == line.end || text[first] == '#' || text[first] == '!') return true;
    size_t colon = first;
    while (colon < line.end && isNameChar(text[colon])) ++colon;
    Span name = {first, colon};
    while (colon < line.end && isBlank(text[colon])) ++colon;
    if (name.begin == name.end || colon == line.end || text[colon] != ':') {
        return scan->fail("line %lu is not \"name: value\"", static_cast<unsigned long>(number));
    }
    if (namesPrograms(text, name)) {
        scan->found = true;
        scan->value = {colon + 1, line.end};
    }
    return true;
}

// Every logical line of the text. A comment ends at its newline whatever its last character.
static bool scanText(const std::string& text, Scan* scan) {
    const size_t size = text.size();
    size_t begin = 0, number = 1;
    while (begin < size) {
        size_t first = begin;
        while (first < size && isBlank(text[first])) ++first;
        const bool comment = first < size && (text[first] == '#' || text[first] == '!');
        size_t end = begin, physicalLines = 1;
        for (;;) {
            end = std::min(text.find('\n', end), size);
            if (comment || end == begin || text[end - 1] != '\\') break;
            if (end + 1 >= size) {
                return scan->fail(
                    "line %lu is continued ('\\' at its end) past the end of the file",
                    static_cast<unsigned long>(number));
            }
            ++end;
            ++physicalLines;
        }
        if (!readLine(text, {begin, end}, number, scan)) return false;
        begin = end + 1;
        number += physicalLines;
    }
    return true;
}

// True when a word of the entry, past its quoted display name, is a path ending in skyfold:
// "- GL: skyfold --root", "/usr/libexec/xscreensaver/skyfold", a wrapper's "... skyfold ...".
static bool entryRunsSkyfold(const std::string& entry) {
    size_t at = 0;
    while (at < entry.size() && isBlank(entry[at])) ++at;
    if (at < entry.size() && entry[at] == '-') ++at;  // a disabled entry is still listed
    while (at < entry.size()) {
        if (isBlank(entry[at])) {
            ++at;
        } else if (entry[at] == '"') {
            at = std::min(entry.find('"', at + 1), entry.size() - 1) + 1;
        } else {
            size_t end = at, name = at;
            for (; end < entry.size() && !isBlank(entry[end]); ++end) {
                if (entry[end] == '/' || entry[end] == ':') name = end + 1;
            }
            if (entry.compare(name, end - name, kProgramName) == 0) return true;
            at = end;
        }
    }
    return false;
}

// The value's entries, its continuations taken out and each "\n" ending one.
static bool valueRunsSkyfold(const std::string& text, Span value) {
    std::string entry;
    for (size_t k = value.begin; k < value.end; ++k) {
        const char next = k + 1 < value.end ? text[k + 1] : '\0';
        if (text[k] == '\\' && next == '\n') {
            ++k;
        } else if (text[k] == '\\' && next == 'n') {
            if (entryRunsSkyfold(entry)) return true;
            entry.clear();
            ++k;
        } else {
            entry += text[k];
        }
    }
    return entryRunsSkyfold(entry);
}

// Where the value's last entry ends: past its last character that is neither blank nor a
// continuation, or just after the ':' of an empty value.
static size_t endOfEntries(const std::string& text, Span value) {
    size_t end = value.begin;
    for (size_t k = value.begin; k < value.end; ++k) {
        if (text[k] == '\\' && k + 1 < value.end && text[k + 1] == '\n') {
            ++k;
        } else if (!isBlank(text[k])) {
            end = k + 1;
        }
    }
    return end;
}

ProgramsEdit addSkyfoldProgram(const std::string& text, std::string* edited,
                               char (&reason)[kEditReasonBytes]) {
    reason[0] = '\0';
    Scan scan = {false, {0, 0}, reason};
    if (text.size() > kMaxXscreensaverFileBytes) {
        scan.fail("it is larger than %lu KB",
                  static_cast<unsigned long>(kMaxXscreensaverFileBytes / 1024));
        return ProgramsEdit::Refused;
    }
    if (text.find('\0') != std::string::npos) {
        scan.fail("%s", "it holds NUL bytes, so it is not a text file");
        return ProgramsEdit::Refused;
    }
    if (!scanText(text, &scan)) return ProgramsEdit::Refused;
    if (!scan.found) {
        *edited = text;
        if (!edited->empty() && edited->back() != '\n') *edited += '\n';
        *edited += std::string("programs:\t\\\n") + kEntryLine + kEntryPadding + "\\n\n";
        return ProgramsEdit::Added;
    }
    if (valueRunsSkyfold(text, scan.value)) return ProgramsEdit::AlreadyListed;
    // After a last "\n" (or none at all) the entry gets a line of its own, ending as that one did.
    const size_t at = endOfEntries(text, scan.value);
    const bool separated = at == scan.value.begin || (at - scan.value.begin >= 2 &&
                                                      text[at - 2] == '\\' && text[at - 1] == 'n');
    const std::string line = kEntryLine;
    const std::string entry = separated ? "\\\n" + line + kEntryPadding + "\\n" : " \\n\\\n" + line;
    *edited = text.substr(0, at) + entry + text.substr(at);
    return ProgramsEdit::Added;
}
