// Alone in its file on purpose: a test program may link its own definition of
// WrittenSealLimits, and then this object is never taken from the library.
// Anything else defined here would be taken with it and clash.
#include "SealedMessage.h"

SealLimits WrittenSealLimits() {
    return ModerateSealLimits();
}
