// The web page's URL query: the X11 program's setting options as query parameters
// (?count=500&view-angle=top-down&currency=euro&max-fps=30), read with the same value rules, and
// the one-line message that names each parameter it could not use. Pure text; the page reads
// location.search and shows the message.
#pragma once

#include <cstdint>
#include <string>

#include "settings/settings_file.h"

const int32_t kNoFrameCap = 0;  // max-fps=0: as many frames as the display shows

struct PageQuery {
    SettingOverrides overrides;  // the settings it gives; a bad value gives none
    bool frameCapGiven;
    int32_t framesPerSecondCap;  // kNoFrameCap, or 1 to kHighestMaxFps (program_options.h)
    std::string message;         // one line; empty when every parameter was understood
};

// Reads a query such as location.search gives it, with or without its '?'. Names and values are
// percent-decoded ('+' is a space). A bad value, or a name one or two letters away from one of
// ours, puts a reason in the message; any other name is someone else's and is ignored. Where a
// parameter is repeated, the last one decides.
PageQuery readPageQuery(const char* query);

// One parameter, as readPageQuery reads it (a host's settings panel gives its values this way).
// False, with the reason in message, for a value or name that cannot be used.
bool readPageParameter(const std::string& name, const std::string& value, PageQuery* query);
