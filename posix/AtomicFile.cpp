#include "AtomicFile.h"

#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

#include "CleanupOnSignal.h"
#include "KernelCopy.h"

namespace {

constexpr const char* kNotRegular = "not a regular file";
constexpr const char* kUnsafeLink =
    "a symbolic link in a shared folder, made by someone else; it is not followed";
constexpr int kMaxLinksFollowed = 40;      // as the kernel's own limit
constexpr mode_t kKeptPermissions = 0777;  // set-user-ID, set-group-ID and sticky go

std::string ErrorText(int code) {
    return std::strerror(code);
}

bool Fail(std::string& reason, int code) {
    reason = ErrorText(code);
    return false;
}

std::string DirectoryOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The kernel's rule for links in shared folders: in a sticky folder anyone
// may write to, a link is followed only when it belongs to the caller or to
// the folder's owner. Otherwise another user could point it at any file.
bool LinkMayBeFollowed(const std::string& link, const struct stat& linkInfo) {
    struct stat folder {};
    if (::stat(DirectoryOf(link).c_str(), &folder) != 0) {
        return false;
    }
    const bool shared = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
    return !shared || linkInfo.st_uid == ::geteuid() || linkInfo.st_uid == folder.st_uid;
}

// Follows the links at `path` to the name of the file they lead to, which
// need not exist yet.
bool FollowLinks(std::string path, std::string& target, std::string& reason) {
    for (int followed = 0; followed <= kMaxLinksFollowed; ++followed) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            target = std::move(path);
            return true;
        }
        if (!LinkMayBeFollowed(path, info)) {
            reason = kUnsafeLink;
            return false;
        }
        std::array<char, PATH_MAX> next{};
        const ssize_t length = ::readlink(path.c_str(), next.data(), next.size());
        if (length < 0) {
            return Fail(reason, errno);
        }
        const std::string named(next.data(), static_cast<std::size_t>(length));
        path = named.starts_with('/') ? named : DirectoryOf(path) + "/" + named;
    }
    return Fail(reason, ELOOP);
}

// A name no other process can guess ahead of us: ".NAME." and 12 random letters.
std::string TemporaryName(const std::string& target) {
    static constexpr char kLetters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::array<unsigned char, 12> random{};
    std::size_t got = 0;
    while (got < random.size()) {
        const ssize_t more = ::getrandom(random.data() + got, random.size() - got, 0);
        if (more > 0) {
            got += static_cast<std::size_t>(more);
        }
    }
    std::string name = DirectoryOf(target) + "/." + NameOf(target) + ".";
    for (const unsigned char byte : random) {
        name.push_back(kLetters[byte % (sizeof kLetters - 1)]);
    }
    return name;
}

// Blocks the signals that end the process while a temporary file is created
// and recorded, so that none arrives in between.
class FatalSignalsBlocked {
public:
    FatalSignalsBlocked() {
        sigset_t fatal;
        sigemptyset(&fatal);
        for (const int signal : kFatalSignals) {
            sigaddset(&fatal, signal);
        }
        ::pthread_sigmask(SIG_BLOCK, &fatal, &m_previous);
    }
    FatalSignalsBlocked(const FatalSignalsBlocked&) = delete;
    FatalSignalsBlocked& operator=(const FatalSignalsBlocked&) = delete;
    ~FatalSignalsBlocked() { ::pthread_sigmask(SIG_SETMASK, &m_previous, nullptr); }

private:
    sigset_t m_previous{};
};

bool WriteAll(int fd, const std::uint8_t* bytes, std::size_t count, std::string& reason) {
    while (count > 0) {
        const ssize_t put = ::write(fd, bytes, count);
        if (put < 0) {
            if (errno == EINTR) {
                continue;
            }
            return Fail(reason, errno);
        }
        bytes += put;
        count -= static_cast<std::size_t>(put);
    }
    return true;
}

// Makes a completed rename durable; a failure here changes nothing for the user.
void SyncDirectory(const std::string& directory) {
    const UniqueFd folder(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.Valid()) {
        ::fsync(folder.Get());
    }
}

}  // namespace

AtomicFile::~AtomicFile() {
    Discard();
}

bool AtomicFile::Open(const std::string& path, std::string& reason) {
    Discard();
    std::string target;
    if (!FollowLinks(path, target, reason)) {
        return false;
    }
    struct stat existing {};
    const bool replaces = ::lstat(target.c_str(), &existing) == 0;
    if (replaces) {
        if (S_ISDIR(existing.st_mode)) {
            return Fail(reason, EISDIR);
        }
        if (!S_ISREG(existing.st_mode)) {
            reason = kNotRegular;
            return false;
        }
        if ((existing.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
            return Fail(reason, EACCES);
        }
        // A folder that allows the rename gives no right to replace a file the
        // caller may not write: that would take the file over, owner and all.
        if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
            return Fail(reason, errno);
        }
    } else if (errno != ENOENT) {
        return Fail(reason, errno);
    }
    // The temporary file is never more open than the file it replaces; a new
    // one gets what the umask leaves of 0666, applied by the kernel.
    const mode_t permissions = replaces ? existing.st_mode & kKeptPermissions : 0666;

    const FatalSignalsBlocked blocked;
    std::string temporary;
    for (int attempt = 0; !m_fd.Valid(); ++attempt) {
        temporary = TemporaryName(target);
        m_fd =
            UniqueFd(::open(temporary.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, permissions));
        if (!m_fd.Valid() && (errno != EEXIST || attempt >= 100)) {
            return Fail(reason, errno);
        }
    }
    m_temporary = std::move(temporary);
    m_target = std::move(target);
    SetTemporaryToRemove(m_temporary.c_str());

    const bool keepsOwner = !replaces || ::geteuid() != 0 ||
                            ::fchown(m_fd.Get(), existing.st_uid, existing.st_gid) == 0;
    // After any change of owner, which may clear mode bits.
    if (!keepsOwner || (replaces && ::fchmod(m_fd.Get(), permissions) != 0)) {
        const int code = errno;
        Discard();
        return Fail(reason, code);
    }
    return true;
}

bool AtomicFile::Fill(std::span<const std::uint8_t> bytes, std::string& reason) {
    if (!m_fd.Valid()) {
        return Fail(reason, EBADF);
    }
    return WriteAll(m_fd.Get(), bytes.data(), bytes.size(), reason);
}

bool AtomicFile::FillFrom(int source, std::string& reason) {
    if (!m_fd.Valid()) {
        return Fail(reason, EBADF);
    }
    CopyRoute used{};
    int code = 0;
    return CopyFileContents(source, m_fd.Get(), CopyRoute::kClone, used, code) ||
           Fail(reason, code);
}

bool AtomicFile::ReadBack(std::uint64_t offset, std::span<std::uint8_t> bytes,
                          std::string& reason) const {
    if (!m_fd.Valid()) {
        return Fail(reason, EBADF);
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::pread(m_fd.Get(), bytes.data() + done, bytes.size() - done,
                                    static_cast<off_t>(offset + done));
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return Fail(reason, errno);
        }
        if (got == 0) {
            return Fail(reason, EIO);  // the copy is shorter than its source said
        }
        done += static_cast<std::size_t>(got);
    }
    return true;
}

bool AtomicFile::Patch(std::uint64_t offset, std::span<const std::uint8_t> bytes,
                       std::string& reason) {
    if (!m_fd.Valid()) {
        return Fail(reason, EBADF);
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::pwrite(m_fd.Get(), bytes.data() + done, bytes.size() - done,
                                     static_cast<off_t>(offset + done));
        if (put < 0) {
            if (errno == EINTR) {
                continue;
            }
            return Fail(reason, errno);
        }
        done += static_cast<std::size_t>(put);
    }
    return true;
}

bool AtomicFile::Commit(std::string& reason) {
    if (!m_fd.Valid()) {
        return Fail(reason, EBADF);
    }
    if (::fsync(m_fd.Get()) != 0 || m_fd.Close() != 0 ||
        ::rename(m_temporary.c_str(), m_target.c_str()) != 0) {
        const int code = errno;
        Discard();
        return Fail(reason, code);
    }
    SetTemporaryToRemove(nullptr);
    m_temporary.clear();
    SyncDirectory(DirectoryOf(m_target));
    return true;
}

void AtomicFile::Discard() {
    m_fd = UniqueFd();
    if (!m_temporary.empty()) {
        ::unlink(m_temporary.c_str());
        SetTemporaryToRemove(nullptr);
    }
    m_temporary.clear();
}
