// The web page's URL query: the Linux program's setting options as query parameters
// (?count=500&view-angle=top-down&currency=euro&max-fps=30), read with the same value rules, and
// the message that names each parameter it could not use. Pure text; the page reads
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
    std::string message;         // a line per reason, at most four; empty when all was understood
};

// Reads a query such as location.search gives it, with or without its '?'. Names and values are
// percent-decoded ('+' is a space); names and the words of values are matched without regard to
// case. Where a name is repeated only the last one counts, and the others are neither read nor
// reported. A bad value, or a name one or two letters away from one of ours, puts a line in the
// message (past four lines, the fourth says how many more); any other name is someone else's and
// is ignored.
PageQuery readPageQuery(const char* query);

// One parameter, as readPageQuery reads it (a host's settings panel gives its values this way).
// False, with the reason as the whole message, for a value or name that cannot be used.
bool readPageParameter(const std::string& name, const std::string& value, PageQuery* query);
