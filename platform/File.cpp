#include "File.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace {
void SetError(std::string* error, int code) {
    if (error)
        *error = std::strerror(code);
}

bool WriteAll(int fd, const void* buffer, std::size_t count, std::string* error) {
    const auto* bytes = static_cast<const unsigned char*>(buffer);
    while (count > 0) {
        const ssize_t written = ::write(fd, bytes, count);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            SetError(error, errno);
            return false;
        }
        bytes += written;
        count -= static_cast<std::size_t>(written);
    }
    return true;
}
}  // namespace

CFile::~CFile() {
    Close();
}

BOOL CFile::Open(const CString& path, UINT flags, std::string* error) {
    Close();
    const bool write = (flags & (modeWrite | modeReadWrite)) != 0;
    int access = (flags & modeReadWrite) ? O_RDWR : (flags & modeWrite) ? O_WRONLY : O_RDONLY;
    if (flags & modeCreate)
        access |= O_CREAT | O_TRUNC;

    struct stat status {};
    if (::stat(path.GetString(), &status) == 0) {
        if (S_ISDIR(status.st_mode)) {
            SetError(error, EISDIR);
            return FALSE;
        }
        if (write && (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
            SetError(error, EACCES);
            return FALSE;
        }
    }
    const int fd = ::open(path.GetString(), access | O_CLOEXEC, 0666);
    if (fd < 0) {
        SetError(error, errno);
        return FALSE;
    }
    // Not shared with other programs while open: they are told it is busy.
    if (::flock(fd, (write ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0) {
        SetError(error, errno);
        ::close(fd);
        return FALSE;
    }
    m_fd = fd;
    return TRUE;
}

std::uint64_t CFile::GetLength() const {
    struct stat status {};
    if (m_fd < 0 || ::fstat(m_fd, &status) != 0)
        return 0;
    return static_cast<std::uint64_t>(status.st_size);
}

std::size_t CFile::Read(void* buffer, std::size_t count, std::string* error) {
    auto* bytes = static_cast<unsigned char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t got = ::read(m_fd, bytes + done, count - done);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            SetError(error, errno);
            break;
        }
        if (got == 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}

bool CFile::Write(const void* buffer, std::size_t count, std::string* error) {
    return WriteAll(m_fd, buffer, count, error);
}

void CFile::Close() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

CAtomicFile::~CAtomicFile() {
    Discard();
}

bool CAtomicFile::Open(const CString& target, std::string* error) {
    Discard();
    const std::filesystem::path path(target.Bytes());
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored)) {
        SetError(error, EISDIR);
        return false;
    }
    // A file marked read-only is not replaced, though the folder would allow it.
    struct stat existing {};
    if (::stat(path.c_str(), &existing) == 0 &&
        (existing.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        SetError(error, EACCES);
        return false;
    }
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
    std::string pattern = (folder / ("." + path.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        SetError(error, errno);
        return false;
    }
    // The new file gets the permissions a newly created file would get, or
    // those of the file it replaces.
    struct stat status {};
    mode_t mode = 0666;
    if (::stat(path.c_str(), &status) == 0) {
        mode = status.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode &= ~mask;
    }
    ::fchmod(fd, mode);
    m_target = path.string();
    m_temporary = pattern;
    m_fd = fd;
    return true;
}

bool CAtomicFile::Write(const void* buffer, std::size_t count, std::string* error) {
    if (m_fd < 0) {
        SetError(error, EBADF);
        return false;
    }
    return WriteAll(m_fd, buffer, count, error);
}

bool CAtomicFile::Commit(std::string* error) {
    if (m_fd < 0) {
        SetError(error, EBADF);
        return false;
    }
    if (::fsync(m_fd) != 0 || ::close(std::exchange(m_fd, -1)) != 0) {
        SetError(error, errno);
        Discard();
        return false;
    }
    if (::rename(m_temporary.c_str(), m_target.c_str()) != 0) {
        SetError(error, errno);
        Discard();
        return false;
    }
    m_temporary.clear();
    return true;
}

void CAtomicFile::Discard() {
    if (m_fd >= 0)
        ::close(std::exchange(m_fd, -1));
    if (!m_temporary.empty())
        ::unlink(m_temporary.c_str());
    m_temporary.clear();
}
