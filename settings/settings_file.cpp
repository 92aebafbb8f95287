// Line-by-line reading and rewriting of the settings file's text. Every byte value is allowed in
// the text (a damaged file is read, not trusted): a line that is not "Name=number" is simply not a
// setting, and numbers that do not fit in 32 bits are not numbers.
#include "settings/settings_file.h"

static const char* const kSettingNames[] = {kNoteCountName, kViewAngleName, kCurrencyName};
static const int kSettingCount = 3;

struct Span {
    const char* begin;
    const char* end;
};

static bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

static Span trimmed(Span span) {
    while (span.begin < span.end && isBlank(*span.begin)) ++span.begin;
    while (span.end > span.begin && isBlank(span.end[-1])) --span.end;
    return span;
}

static char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

static bool sameName(Span span, const char* name) {
    for (; span.begin < span.end; ++span.begin, ++name) {
        if (*name == '\0' || lowerAscii(*span.begin) != lowerAscii(*name)) return false;
    }
    return *name == '\0';
}

// A decimal number with an optional sign that fits in a signed 32-bit integer.
static bool parseDecimal(Span span, int32_t* value) {
    bool negative = false;
    if (span.begin < span.end && (*span.begin == '-' || *span.begin == '+')) {
        negative = *span.begin == '-';
        ++span.begin;
    }
    if (span.begin == span.end) return false;
    const int64_t limit = negative ? 2147483648LL : 2147483647LL;
    int64_t magnitude = 0;
    for (const char* c = span.begin; c < span.end; ++c) {
        if (*c < '0' || *c > '9') return false;
        magnitude = magnitude * 10 + (*c - '0');
        if (magnitude > limit) return false;
    }
    *value = static_cast<int32_t>(negative ? -magnitude : magnitude);
    return true;
}

// True when the line (without its '\n') is "name = value" for this name; *value is its value text.
static bool lineNames(Span line, const char* name, Span* value) {
    const char* equals = line.begin;
    while (equals < line.end && *equals != '=') ++equals;
    if (equals == line.end || !sameName(trimmed({line.begin, equals}), name)) return false;
    *value = trimmed({equals + 1, line.end});
    return true;
}

// The setting the line names (an index into kSettingNames), or -1.
static int settingOfLine(Span line) {
    Span value = {nullptr, nullptr};
    for (int i = 0; i < kSettingCount; ++i) {
        if (lineNames(line, kSettingNames[i], &value)) return i;
    }
    return -1;
}

// Calls visit(line, lineEnd) for every line; lineEnd points past its '\n', or at the end.
template <typename Visitor>
static void forEachLine(const char* text, size_t bytes, Visitor visit) {
    const char* end = text + bytes;
    for (const char* line = text; line < end;) {
        const char* newline = line;
        while (newline < end && *newline != '\n') ++newline;
        visit(Span{line, newline}, newline < end ? newline + 1 : end);
        line = newline < end ? newline + 1 : end;
    }
}

bool findSettingValue(const char* text, size_t bytes, const char* name, int32_t* value) {
    bool found = false;
    forEachLine(text, bytes, [&](Span line, const char*) {
        Span valueText = {nullptr, nullptr};
        if (lineNames(line, name, &valueText)) found = parseDecimal(valueText, value);
    });
    return found;
}

SaverSettings settingsFromText(const char* text, size_t bytes) {
    SaverSettings settings = {kDefaultNoteCount, kDefaultViewAngle, kDefaultCurrency};
    int32_t value = 0;
    if (findSettingValue(text, bytes, kNoteCountName, &value)) settings.noteCount = value;
    if (findSettingValue(text, bytes, kViewAngleName, &value)) settings.viewAngle = value;
    if (findSettingValue(text, bytes, kCurrencyName, &value)) settings.currencyType = value;
    return settings;
}

static std::string settingLine(int setting, const SaverSettings& settings) {
    const int32_t values[kSettingCount] = {settings.noteCount, settings.viewAngle,
                                           settings.currencyType};
    return std::string(kSettingNames[setting]) + "=" + std::to_string(values[setting]);
}

std::string settingsTextWith(const std::string& text, const SaverSettings& settings) {
    std::string result;
    bool written[kSettingCount] = {false, false, false};
    forEachLine(text.data(), text.size(), [&](Span line, const char* lineEnd) {
        const int setting = settingOfLine(line);
        if (setting < 0) {
            result.append(line.begin, lineEnd);
        } else if (!written[setting]) {
            const bool carriageReturn = line.end > line.begin && line.end[-1] == '\r';
            result += settingLine(setting, settings);
            if (carriageReturn) result += '\r';
            result.append(line.end, lineEnd);
            written[setting] = true;
        }
    });
    for (int setting = 0; setting < kSettingCount; ++setting) {
        if (written[setting]) continue;
        if (!result.empty() && result.back() != '\n') result += '\n';
        result += settingLine(setting, settings) + "\n";
    }
    return result;
}

void applySettingOverrides(const SettingOverrides& overrides, SaverSettings& settings) {
    if (overrides.noteCountGiven) settings.noteCount = overrides.values.noteCount;
    if (overrides.viewAngleGiven) settings.viewAngle = overrides.values.viewAngle;
    if (overrides.currencyGiven) settings.currencyType = overrides.values.currencyType;
}
