#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// How much a file may hold, and how to say it to the user.
struct SizeLimit {
    std::int64_t bytes;
    const char* description;
};

// Reads all of `path`. Throws Refusal when it is missing, unreadable, a
// directory, or larger than `limit` (checked before anything is allocated).
std::vector<std::uint8_t> ReadWholeFile(const std::string& path, const SizeLimit& limit);

// Replaces `path` with `bytes` in one step: a temporary file beside it is
// written, flushed to disk and renamed over it. On failure nothing is left
// behind and an existing file is untouched; throws Refusal. A symbolic link
// at `path` is followed, and an existing file keeps its permissions.
void WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);
