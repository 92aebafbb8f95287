// The page's URL query, read with the Linux command line's value rules (host/program_options.h),
// so that ?count=500 means what --count 500 means.
#include "host/page_query.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <vector>

#include "host/program_options.h"

static const char* const kParameterNames[] = {"count", "view-angle", "currency", "max-fps"};
static const size_t kLongestNameBytes = 32;  // longer names are nobody's typing of ours
static const size_t kMostTypoLetters = 2;    // "cont", "viewangle", "max_fps", "curency"
static const size_t kMostMessageLines = 4;   // the notice's height; the rest are counted

// One name=value pair of the address, and its name as the rules match it.
struct Parameter {
    std::string written;  // percent-decoded, as typed: a message quotes it so
    std::string name;     // the same in ASCII lower case
    std::string value;
};

static int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// NOTE: "%00" stays as it is written, so that no value can hide a tail behind a NUL.
static std::string percentDecoded(const char* text, size_t bytes) {
    std::string decoded;
    for (size_t i = 0; i < bytes; ++i) {
        const char c = text[i];
        const int high = i + 2 < bytes && c == '%' ? hexDigit(text[i + 1]) : -1;
        const int low = high >= 0 ? hexDigit(text[i + 2]) : -1;
        if (low >= 0 && (high | low) != 0) {
            decoded += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            decoded += c == '+' ? ' ' : c;
        }
    }
    return decoded;
}

static std::string asciiLowered(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

// Letters to insert, delete or change to turn one name into the other.
static size_t editDistance(const std::string& a, const std::string& b) {
    size_t row[kLongestNameBytes + 1];
    for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t above = row[j];
            row[j] = std::min({above + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
            diagonal = above;
        }
    }
    return row[b.size()];
}

static const char* nameMeant(const std::string& name) {
    if (name.size() > kLongestNameBytes) return nullptr;
    for (const char* known : kParameterNames) {
        if (editDistance(name, known) <= kMostTypoLetters) return known;
    }
    return nullptr;
}

// The X11 program's --max-fps rule; in the browser 0 means the display's own rate, the most
// animation frames it gives.
static bool readFrameCap(const std::string& value, PageQuery* query,
                         char (&reason)[kOptionErrorBytes]) {
    int32_t cap = kNoFrameCap;
    if (!parseMaxFps(value.c_str(), &cap)) {
        std::snprintf(reason, sizeof reason, "'%.40s' is not a number from 0 (no cap) to %d",
                      value.c_str(), kHighestMaxFps);
        return false;
    }
    query->frameCapGiven = true;
    query->framesPerSecondCap = cap;
    return true;
}

// Reads one parameter into query. False, with what to show in reason, for a value that cannot be
// used or a name that looks like a typing of ours; reason stays empty for someone else's name.
static bool readParameter(const Parameter& parameter, PageQuery* query, std::string* reason) {
    char why[kOptionErrorBytes];
    bool read = false;
    // The option rules read C strings, which a decoded %00 would end early ("200%00x" as 200): it
    // is read as a '?', which no rule takes.
    std::string readable = parameter.value;
    std::replace(readable.begin(), readable.end(), '\0', '?');
    if (parameter.name == "max-fps") {
        read = readFrameCap(readable, query, why);
    } else {
        const SettingValue setting =
            readSettingValue(parameter.name.c_str(), readable.c_str(), &query->overrides, why);
        if (setting == SettingValue::NotASetting) {
            const char* meant = nameMeant(parameter.name);
            if (meant) {
                *reason = parameter.written + ": no such setting; did you mean " + meant + "?";
            }
            return meant == nullptr;
        }
        read = setting == SettingValue::Read;
    }
    if (!read) *reason = parameter.written + ": " + why;
    return read;
}

static PageQuery emptyQuery() {
    return PageQuery{SettingOverrides{false, false, false, SaverSettings{0, 0, 0}}, false,
                     kNoFrameCap, std::string()};
}

bool readPageParameter(const std::string& name, const std::string& value, PageQuery* query) {
    std::string reason;
    const bool read = readParameter(Parameter{name, asciiLowered(name), value}, query, &reason);
    query->message = reason;
    return read;
}

static std::vector<Parameter> splitQuery(const char* query) {
    std::vector<Parameter> parameters;
    const char* next = query && *query == '?' ? query + 1 : query;
    while (next && *next) {
        const char* end = std::strchr(next, '&');
        const size_t bytes = end ? static_cast<size_t>(end - next) : std::strlen(next);
        const char* equals = static_cast<const char*>(std::memchr(next, '=', bytes));
        const size_t nameBytes = equals ? static_cast<size_t>(equals - next) : bytes;
        Parameter parameter;
        parameter.written = percentDecoded(next, nameBytes);
        parameter.name = asciiLowered(parameter.written);
        if (equals) parameter.value = percentDecoded(equals + 1, bytes - nameBytes - 1);
        if (!parameter.name.empty()) parameters.push_back(parameter);
        next = end ? end + 1 : nullptr;
    }
    return parameters;
}

// The last parameter of each name, in the order written: an earlier one of the same name never
// counts, so it is neither read nor reported.
static std::vector<Parameter> lastOfEachName(const std::vector<Parameter>& parameters) {
    std::set<std::string> seen;
    std::vector<Parameter> kept;
    for (size_t i = parameters.size(); i-- > 0;) {
        if (seen.insert(parameters[i].name).second) kept.push_back(parameters[i]);
    }
    std::reverse(kept.begin(), kept.end());
    return kept;
}

// One reason a line; beyond the notice's height, its last line counts the rest.
static std::string messageOf(const std::vector<std::string>& reasons) {
    const size_t shown =
        reasons.size() > kMostMessageLines ? kMostMessageLines - 1 : reasons.size();
    std::string message;
    for (size_t i = 0; i < shown; ++i) message += (i ? "\n" : "") + reasons[i];
    if (shown < reasons.size()) {
        message += "\nand " + std::to_string(reasons.size() - shown) + " more";
    }
    return message;
}

PageQuery readPageQuery(const char* query) {
    PageQuery page = emptyQuery();
    std::vector<std::string> reasons;
    for (const Parameter& parameter : lastOfEachName(splitQuery(query))) {
        std::string reason;
        readParameter(parameter, &page, &reason);
        if (!reason.empty()) reasons.push_back(reason);
    }
    page.message = messageOf(reasons);
    return page;
}
