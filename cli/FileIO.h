#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "SecretText.h"
#include "UniqueFd.h"

// How much a file may hold, and how to say it to the user.
struct SizeLimit {
    std::int64_t bytes;
    const char* description;
};

// Refuses to go on because `path` cannot be read (errno value `error`).
[[noreturn]] void RefuseRead(const std::string& path, int error);

// Opens `path` for reading, where a file is expected: a regular file or a
// pipe, described in `info`. A device would never end (or never start), a
// socket cannot be read: both are refused, as are folders (throws Refusal).
UniqueFd OpenInput(const std::string& path, struct stat& info);

// Reads all of `path`, a regular file or a pipe. Throws Refusal when it is
// missing, unreadable, a directory, a device or a socket, or larger than
// `limit` (for a regular file, checked before anything is read).
std::vector<std::uint8_t> ReadWholeFile(const std::string& path, const SizeLimit& limit);

// ReadWholeFile for a secret, such as a password file: the bytes never stand
// anywhere but in wiped memory.
SecretText ReadSecretFile(const std::string& path, const SizeLimit& limit);

// What ReadWholeFile does after opening: reads all of `fd`, which OpenInput
// opened on `path` and described in `info`.
std::vector<std::uint8_t> ReadWholeInput(int fd, const struct stat& info, const std::string& path,
                                         const SizeLimit& limit);

// Refuses a regular file, described in `info`, that is larger than `limit`.
void RefuseIfTooLarge(const struct stat& info, const std::string& path, const SizeLimit& limit);

// A message as read: its bytes, zero bytes included, at most as many as
// were wanted; `length` counts the input where it is known (a regular file),
// and `cut` says the input went on past what was kept.
struct ReadMessage {
    SecretText bytes;
    std::int64_t length = 0;
    bool cut = false;
};

// Gathers a message from input that arrives in chunks, keeping at most
// `keep` bytes. Add() says whether more input is still wanted, so that a
// reader of endless input stops there.
class MessageCollector {
public:
    explicit MessageCollector(std::size_t keep) : m_keep(keep) {}
    bool Add(std::string_view chunk);
    ReadMessage Take();

private:
    std::size_t m_keep;
    SecretText m_message;
    bool m_cut = false;
};

// The message in `path` (a regular file or a pipe, as ReadWholeFile takes),
// read only as far as MessageCollector needs.
ReadMessage ReadMessageFile(const std::string& path, std::size_t keep);

// Replaces `path` with `bytes` in one step, under AtomicFile's policy (links,
// special and read-only files, permissions). On failure nothing is left
// behind and an existing file is untouched; throws Refusal.
void WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes);
