// When a password check may be offered again. After the verification dialog returns, close requests
// within a short interval are dropped, so that the input which dismissed the dialog cannot bring it
// straight back. Ticks are the 32-bit millisecond tick count, which wraps after about 49.7 days.
#pragma once

#include <cstdint>

const uint32_t kVerifyIntervalMilliseconds = 200;   // quiet time after a verification dialog
const uint32_t kNeverVerifiedTick = 0xFFFFFFFFu;    // lastVerifyTick before the first dialog

// True when a close request at nowTick must be dropped without showing the dialog.
bool isVerifyThrottled(uint32_t lastVerifyTick, uint32_t nowTick);
