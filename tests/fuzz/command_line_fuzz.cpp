// Fuzzes the switch grammar: any command line must scan without reading past its end.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "host/command_line.h"

// A double-byte stepper, the harder case: a lead byte may swallow the terminator's neighbour.
static const char* stepDoubleByte(const char* text) {
    const unsigned char lead = static_cast<unsigned char>(*text);
    if (lead >= 0x81 && lead <= 0xFE && text[1] != '\0') return text + 2;
    return *text ? text + 1 : text;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<char> text(data, data + size);
    text.push_back('\0');
    const char* switchText = findSwitchText(text.data(), stepDoubleByte);
    const SwitchChoice choice = scanSwitchText(switchText);
    if (choice.mode == RunMode::Rejected && choice.handle != 0) __builtin_trap();
    parseWindowHandle(text.data());
    return 0;
}
