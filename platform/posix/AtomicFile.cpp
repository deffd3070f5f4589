#include "AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {
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

bool AtomicFile::Open(const std::string& target, int& error) {
    Discard();
    std::string temporary = DirectoryOf(target) + "/." + NameOf(target) + ".XXXXXX";
    UniqueFd fd(::mkstemp(temporary.data()));
    if (!fd.Valid()) {
        error = errno;
        return false;
    }
    m_target = target;
    m_temporary = std::move(temporary);
    m_fd = std::move(fd);
    if (::fchmod(m_fd.Get(), PermissionsFor(target)) != 0) {
        error = errno;
        Discard();
        return false;
    }
    return true;
}

bool AtomicFile::Write(const void* bytes, std::size_t count, int& error) {
    if (!m_fd.Valid()) {
        error = EBADF;
        return false;
    }
    const auto* next = static_cast<const unsigned char*>(bytes);
    while (count > 0) {
        const ssize_t put = ::write(m_fd.Get(), next, count);
        if (put < 0) {
            if (errno == EINTR)
                continue;
            error = errno;
            return false;
        }
        next += put;
        count -= static_cast<std::size_t>(put);
    }
    return true;
}

bool AtomicFile::Commit(int& error) {
    if (!m_fd.Valid()) {
        error = EBADF;
        return false;
    }
    if (::fsync(m_fd.Get()) != 0 || m_fd.Close() != 0 ||
        ::rename(m_temporary.c_str(), m_target.c_str()) != 0) {
        error = errno;
        Discard();
        return false;
    }
    m_temporary.clear();
    SyncDirectory(DirectoryOf(m_target));
    return true;
}

void AtomicFile::Discard() {
    m_fd = UniqueFd();
    if (!m_temporary.empty())
        ::unlink(m_temporary.c_str());
    m_temporary.clear();
}
