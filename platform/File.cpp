#include "File.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {
void SetError(std::string* error, int code) {
    if (error)
        *error = std::strerror(code);
}
}  // namespace

CFile::~CFile() {
    Close();
}

BOOL CFile::Open(const CString& path, UINT /*flags*/, std::string* error) {
    Close();
    struct stat status {};
    if (::stat(path.GetString(), &status) == 0 && S_ISDIR(status.st_mode)) {
        SetError(error, EISDIR);
        return FALSE;
    }
    const int fd = ::open(path.GetString(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        SetError(error, errno);
        return FALSE;
    }
    // Not shared with other programs while open: they are told it is busy.
    if (::flock(fd, LOCK_SH | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK && error)
            *error = "it is in use by another program";
        else
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

void CFile::Close() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

bool CAtomicFile::Open(const CString& target, std::string* error) {
    std::string reason;
    if (!m_file.Open(target.Bytes(), reason)) {
        if (error)
            *error = reason;
        return false;
    }
    return true;
}

bool CAtomicFile::Write(const void* buffer, std::size_t count, std::string* error) {
    std::string reason;
    if (!m_file.Fill({static_cast<const std::uint8_t*>(buffer), count}, reason)) {
        if (error)
            *error = reason;
        return false;
    }
    return true;
}

bool CAtomicFile::Commit(std::string* error) {
    std::string reason;
    if (!m_file.Commit(reason)) {
        if (error)
            *error = reason;
        return false;
    }
    return true;
}
