// Throttle arithmetic of the password gate; the unsigned difference absorbs one wrap of the tick count.
#include "host/password_throttle.h"

bool isVerifyThrottled(uint32_t lastVerifyTick, uint32_t nowTick) {
    if (lastVerifyTick == kNeverVerifiedTick) return false;
    return static_cast<uint32_t>(nowTick - lastVerifyTick) < kVerifyIntervalMilliseconds;
}
