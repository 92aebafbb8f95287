// The switch grammar of a Windows screen saver ("/s", "-p 1234", "c:5678", ...), kept free of
// Win32 so that it can be tested on every platform. Bytes are judged by their values exactly as
// Windows passes them; nothing here allocates.
#include "host/command_line.h"

static const unsigned char kLastBlankByte = 0x20;  // blanks and control characters end a name

static unsigned char byteAt(const char* text) {
    return static_cast<unsigned char>(*text);
}

const char* findSwitchText(const char* commandLine, CharStepper nextChar) {
    const char* cursor = commandLine;
    if (*cursor == '"') {
        do {
            cursor = nextChar(cursor);
        } while (*cursor != '\0' && *cursor != '"');
        if (*cursor == '"') ++cursor;
    } else {
        while (byteAt(cursor) > kLastBlankByte) cursor = nextChar(cursor);
    }
    while (*cursor != '\0' && byteAt(cursor) <= kLastBlankByte) ++cursor;
    return cursor;
}

uint32_t parseWindowHandle(const char* text) {
    uint32_t value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        value = value * 10u + static_cast<uint32_t>(*text - '0');  // wraps modulo 2^32
    }
    return value;
}

// The handle of "p" and "a" may stand after blanks (0x20 only), or directly after the letter.
static uint32_t handleAfterBlanks(const char* text) {
    while (*text == ' ') ++text;
    return parseWindowHandle(text);
}

// Only a colon right after "c" introduces an owner handle.
static uint32_t handleAfterColon(const char* text) {
    return *text == ':' ? parseWindowHandle(text + 1) : 0;
}

SwitchChoice scanSwitchText(const char* switchText) {
    const char* cursor = switchText;
    while (*cursor == ' ' || *cursor == '-' || *cursor == '/') ++cursor;

    const signed char letter = static_cast<signed char>(*cursor);
    const char* rest = cursor + 1;
    switch (letter) {
        case '\0': return {RunMode::Configure, false, 0};
        case 'c': case 'C': return {RunMode::Configure, true, handleAfterColon(rest)};
        case 's': case 'S': return {RunMode::FullScreen, false, 0};
        case 'p': case 'P': case 'l': case 'L':
            return {RunMode::Preview, false, handleAfterBlanks(rest)};
        case 'a': case 'A': return {RunMode::ChangePassword, true, handleAfterBlanks(rest)};
        default: return {RunMode::Rejected, false, 0};
    }
}
