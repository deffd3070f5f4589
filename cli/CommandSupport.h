#pragma once

#include "Arguments.h"
#include "CarrierRecords.h"
#include "Commands.h"
#include "FileIO.h"
#include "PasswordSource.h"
#include "Usage.h"

// What the commands share.

inline constexpr SizeLimit kCarrierLimit{kMaxCarrierLength, "2 GiB - 1 bytes"};

// The password sources a command line and its console offer.
inline PasswordInputs PasswordInputsFor(const ParsedArguments& parsed, const Console& console) {
    PasswordInputs inputs{std::nullopt,
                          console.environmentPassword ? &*console.environmentPassword : nullptr,
                          console.prompt};
    if (const auto file = parsed.options.find("--password-file"); file != parsed.options.end()) {
        inputs.file = file->second;
    }
    return inputs;
}
