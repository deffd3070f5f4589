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

// Replaces `path` with `bytes` in one step, under AtomicFile's policy (links,
// special and read-only files, permissions). On failure nothing is left
// behind and an existing file is untouched; throws Refusal.
void WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);
