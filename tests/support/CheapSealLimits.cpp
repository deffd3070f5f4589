// Linked into test programs that seal through the window or the tool's
// commands in-process: their boxes use the least limits, so a test run (and
// its sanitizer build) does not spend a quarter of a gigabyte and half a
// second on every seal. Being an object of the test program, this definition
// is found before the engine library's, which is then never linked. Tests
// that run the shipped veilnote-cli still seal at the moderate limits.
#include "SealedMessage.h"

SealLimits WrittenSealLimits() {
    return LeastSealLimits();
}
