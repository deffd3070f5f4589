#include "FileIO.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <system_error>

#include "Errors.h"
#include "UniqueFd.h"

namespace {

std::string ErrnoText(int error) {
    return std::generic_category().message(error);
}

[[noreturn]] void RefuseRead(const std::string& path, int error) {
    throw Refusal("cannot read " + path + ": " + ErrnoText(error));
}

[[noreturn]] void RefuseWrite(const std::string& path, int error) {
    throw Refusal("cannot write " + path + ": " + ErrnoText(error));
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

void WriteAll(int fd, std::span<const std::uint8_t> bytes, const std::string& path) {
    while (!bytes.empty()) {
        const ssize_t put = ::write(fd, bytes.data(), bytes.size());
        if (put < 0) {
            if (errno == EINTR) {
                continue;
            }
            RefuseWrite(path, errno);
        }
        bytes = bytes.subspan(static_cast<std::size_t>(put));
    }
}

// The file a write to `path` lands in: the target of a symbolic link, or
// `path` itself (also when it does not exist yet).
std::string ResolveTarget(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
        return path;
    }
    std::array<char, PATH_MAX> resolved{};
    if (::realpath(path.c_str(), resolved.data()) == nullptr) {
        return path;
    }
    return resolved.data();
}

std::string DirectoryOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Permissions for the new file: those of the file it replaces, else what a
// plain create would give under the current umask.
mode_t PermissionsFor(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        return info.st_mode & 07777;
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
}

// A temporary file made by mkstemp beside `target`; removed again unless
// Commit() renamed it. Failures name `shownPath`, the path the user gave.
class TemporaryFile {
public:
    TemporaryFile(const std::string& target, const std::string& shownPath)
        : m_name(DirectoryOf(target) + "/.veilnote-XXXXXX"), m_shownPath(shownPath) {
        m_fd = UniqueFd(::mkstemp(m_name.data()));
        if (!m_fd.Valid()) {
            RefuseWrite(m_shownPath, errno);
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        if (!m_committed) {
            m_fd = UniqueFd();
            ::unlink(m_name.c_str());
        }
    }

    // Gives the file `permissions` and all of `bytes`.
    void Fill(mode_t permissions, std::span<const std::uint8_t> bytes) {
        if (::fchmod(m_fd.Get(), permissions) != 0) {
            RefuseWrite(m_shownPath, errno);
        }
        WriteAll(m_fd.Get(), bytes, m_shownPath);
    }

    // Flushes and closes the file, then renames it to `target`.
    void Commit(const std::string& target) {
        if (::fsync(m_fd.Get()) != 0 || m_fd.Close() != 0) {
            RefuseWrite(m_shownPath, errno);
        }
        if (::rename(m_name.c_str(), target.c_str()) != 0) {
            RefuseWrite(m_shownPath, errno);
        }
        m_committed = true;
    }

private:
    std::string m_name;
    std::string m_shownPath;
    UniqueFd m_fd;
    bool m_committed = false;
};

// Makes a completed rename durable; a failure here changes nothing for the user.
void SyncDirectory(const std::string& directory) {
    const UniqueFd dir(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Valid()) {
        ::fsync(dir.Get());
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
    const std::string target = ResolveTarget(path);
    const mode_t permissions = PermissionsFor(target);
    TemporaryFile temporary(target, path);
    temporary.Fill(permissions, bytes);
    temporary.Commit(target);
    SyncDirectory(DirectoryOf(target));
}
