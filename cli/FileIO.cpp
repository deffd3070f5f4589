#include "FileIO.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
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

[[noreturn]] void RefuseTooLarge(const std::string& path, const SizeLimit& limit) {
    throw Refusal(path + " is larger than " + limit.description);
}

}  // namespace

void RefuseRead(const std::string& path, int error) {
    throw Refusal("cannot read " + path + ": " + ErrnoText(error));
}

UniqueFd OpenInput(const std::string& path, struct stat& info) {
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY));
    if (!fd.Valid()) {
        if (errno == EISDIR) {
            throw Refusal(path + " is a directory");
        }
        if (errno == ENXIO && ::stat(path.c_str(), &info) == 0 && S_ISSOCK(info.st_mode)) {
            throw Refusal(path + " is a socket, not a file");
        }
        RefuseRead(path, errno);
    }
    if (::fstat(fd.Get(), &info) != 0) {
        RefuseRead(path, errno);
    }
    if (S_ISDIR(info.st_mode)) {
        throw Refusal(path + " is a directory");
    }
    if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode)) {
        throw Refusal(path + " is a device, not a file");
    }
    if (S_ISSOCK(info.st_mode)) {
        throw Refusal(path + " is a socket, not a file");
    }
    return fd;
}

namespace {

// Reads chunks of `fd` into `take` until the end, or until `take` wants no
// more. What passes through may be a message or a password: the chunk is
// wiped when it goes.
template <typename Take>
void ReadChunks(int fd, const std::string& path, Take take) {
    SecretText chunk(std::size_t{64 * 1024});
    for (;;) {
        const ssize_t got = ::read(fd, chunk.Data(), chunk.Size());
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            RefuseRead(path, errno);
        }
        if (got == 0 ||
            !take(std::span<const std::uint8_t>(chunk.Data(), static_cast<std::size_t>(got)))) {
            return;
        }
    }
}

}  // namespace

std::vector<std::uint8_t> ReadWholeFile(const std::string& path, const SizeLimit& limit) {
    struct stat info {};
    const UniqueFd fd = OpenInput(path, info);
    return ReadWholeInput(fd.Get(), info, path, limit);
}

SecretText ReadSecretFile(const std::string& path, const SizeLimit& limit) {
    struct stat info {};
    const UniqueFd fd = OpenInput(path, info);
    RefuseIfTooLarge(info, path, limit);
    SecretText content;
    ReadChunks(fd.Get(), path, [&](std::span<const std::uint8_t> chunk) {
        if (content.Size() + chunk.size() > static_cast<std::uint64_t>(limit.bytes)) {
            RefuseTooLarge(path, limit);
        }
        content.Append({reinterpret_cast<const char*>(chunk.data()), chunk.size()});
        return true;
    });
    return content;
}

void RefuseIfTooLarge(const struct stat& info, const std::string& path, const SizeLimit& limit) {
    if (S_ISREG(info.st_mode) && info.st_size > limit.bytes) {
        RefuseTooLarge(path, limit);
    }
}

std::vector<std::uint8_t> ReadWholeInput(int fd, const struct stat& info, const std::string& path,
                                         const SizeLimit& limit) {
    RefuseIfTooLarge(info, path, limit);
    std::vector<std::uint8_t> bytes;
    if (S_ISREG(info.st_mode)) {
        bytes.reserve(static_cast<std::size_t>(info.st_size));
    }
    ReadChunks(fd, path, [&](std::span<const std::uint8_t> chunk) {
        if (bytes.size() + chunk.size() > static_cast<std::uint64_t>(limit.bytes)) {
            RefuseTooLarge(path, limit);
        }
        bytes.insert(bytes.end(), chunk.begin(), chunk.end());
        return true;
    });
    return bytes;
}

bool MessageCollector::Add(std::string_view chunk) {
    const std::size_t room = m_keep - std::min(m_keep, m_message.Size());
    m_message.Append(chunk.substr(0, room));
    m_cut = m_cut || chunk.size() > room;
    return !m_cut;
}

ReadMessage MessageCollector::Take() {
    const auto length = static_cast<std::int64_t>(m_message.Size());
    return {std::move(m_message), length, m_cut};
}

ReadMessage ReadMessageFile(const std::string& path, std::size_t keep) {
    struct stat info {};
    const UniqueFd fd = OpenInput(path, info);
    MessageCollector collector(keep);
    ReadChunks(fd.Get(), path, [&](std::span<const std::uint8_t> chunk) {
        return collector.Add({reinterpret_cast<const char*>(chunk.data()), chunk.size()});
    });
    ReadMessage message = collector.Take();
    if (message.cut && S_ISREG(info.st_mode)) {
        message.length = static_cast<std::int64_t>(info.st_size);
        message.cut = false;
    }
    return message;
}

void WriteFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes) {
    AtomicFile file;
    std::string reason;
    if (!file.Open(path, reason) || !file.Fill(bytes, reason) || !file.Commit(reason)) {
        throw Refusal("cannot write " + path + ": " + reason);
    }
}
