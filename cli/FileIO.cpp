#include "FileIO.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <system_error>

#include "AtomicFile.h"
#include "Errors.h"
#include "UniqueFd.h"

namespace {

std::string ErrnoText(int error) {
    return std::generic_category().message(error);
}

[[noreturn]] void RefuseRead(const std::string& path, int error) {
    throw Refusal("cannot read " + path + ": " + ErrnoText(error));
}

[[noreturn]] void RefuseTooLarge(const std::string& path, const SizeLimit& limit) {
    throw Refusal(path + " is larger than " + limit.description);
}

// Reads until end of file; `limit` bounds what non-regular files may deliver.
std::vector<std::uint8_t> ReadAll(int fd, const std::string& path, const SizeLimit& limit,
                                  std::size_t expected) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(expected);
    std::array<std::uint8_t, 64 * 1024> chunk{};
    for (;;) {
        const ssize_t got = ::read(fd, chunk.data(), chunk.size());
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            RefuseRead(path, errno);
        }
        if (got == 0) {
            return bytes;
        }
        const auto count = static_cast<std::size_t>(got);
        if (bytes.size() + count > static_cast<std::uint64_t>(limit.bytes)) {
            RefuseTooLarge(path, limit);
        }
        bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + got);
    }
}

}  // namespace

std::vector<std::uint8_t> ReadWholeFile(const std::string& path, const SizeLimit& limit) {
    const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.Valid()) {
        if (errno == EISDIR) {
            throw Refusal(path + " is a directory");
        }
        RefuseRead(path, errno);
    }
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0) {
        RefuseRead(path, errno);
    }
    if (S_ISDIR(info.st_mode)) {
        throw Refusal(path + " is a directory");
    }
    std::size_t expected = 0;
    if (S_ISREG(info.st_mode)) {
        if (info.st_size > limit.bytes) {
            RefuseTooLarge(path, limit);
        }
        expected = static_cast<std::size_t>(info.st_size);
    }
    return ReadAll(fd.Get(), path, limit, expected);
}

void WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes) {
    AtomicFile file;
    std::string reason;
    if (!file.Open(path, reason) || !file.Fill(bytes, reason) || !file.Commit(reason)) {
        throw Refusal("cannot write " + path + ": " + reason);
    }
}
