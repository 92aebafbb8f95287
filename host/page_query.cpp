// The page's URL query, read with the X11 command line's value rules (host/program_options.h), so
// that ?count=500 means what --count 500 means.
#include "host/page_query.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "host/program_options.h"

static const char* const kParameterNames[] = {"count", "view-angle", "currency", "max-fps"};
static const size_t kLongestNameBytes = 32;  // longer names are nobody's typing of ours
static const size_t kMostTypoLetters = 2;    // "cont", "viewangle", "max_fps", "curency"
static const char kReasonSeparator[] = "; ";

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

static void addReason(PageQuery* query, const std::string& reason) {
    if (!query->message.empty()) query->message += kReasonSeparator;
    query->message += reason;
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

// A bad value takes back what an earlier parameter of that name gave.
static void forget(const std::string& name, PageQuery* query) {
    SettingOverrides& overrides = query->overrides;
    if (name == "count") overrides.noteCountGiven = false;
    if (name == "view-angle") overrides.viewAngleGiven = false;
    if (name == "currency") overrides.currencyGiven = false;
    if (name == "max-fps") query->frameCapGiven = false;
}

bool readPageParameter(const std::string& name, const std::string& value, PageQuery* query) {
    char reason[kOptionErrorBytes];
    bool read = false;
    // The option rules read C strings, which a decoded %00 would end early ("200%00x" as 200): it
    // is read as a '?', which no rule takes.
    std::string readable = value;
    std::replace(readable.begin(), readable.end(), '\0', '?');
    if (name == "max-fps") {
        read = readFrameCap(readable, query, reason);
    } else {
        const SettingValue setting =
            readSettingValue(name.c_str(), readable.c_str(), &query->overrides, reason);
        if (setting == SettingValue::NotASetting) {
            const char* meant = nameMeant(name);
            if (meant) addReason(query, name + ": no such setting; did you mean " + meant + "?");
            return meant == nullptr;
        }
        read = setting == SettingValue::Read;
    }
    if (!read) {
        forget(name, query);
        addReason(query, name + ": " + reason);
    }
    return read;
}

PageQuery readPageQuery(const char* query) {
    PageQuery page = {SettingOverrides{false, false, false, SaverSettings{0, 0, 0}}, false,
                      kNoFrameCap, std::string()};
    const char* next = query && *query == '?' ? query + 1 : query;
    while (next && *next) {
        const char* end = std::strchr(next, '&');
        const size_t bytes = end ? static_cast<size_t>(end - next) : std::strlen(next);
        const char* equals = static_cast<const char*>(std::memchr(next, '=', bytes));
        const size_t nameBytes = equals ? static_cast<size_t>(equals - next) : bytes;
        const std::string name = percentDecoded(next, nameBytes);
        const std::string value =
            equals ? percentDecoded(equals + 1, bytes - nameBytes - 1) : std::string();
        if (!name.empty()) readPageParameter(name, value, &page);
        next = end ? end + 1 : nullptr;
    }
    return page;
}
