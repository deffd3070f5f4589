#include "KernelCopy.h"

#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstddef>
#include <cstdint>

namespace {

// The most one call moves; the loops call again until the end.
constexpr std::size_t kKernelChunk = std::size_t{1} << 30;
constexpr std::size_t kBufferBytes = 64 * 1024;

enum class Step { kDone, kFallBack, kFailed };

// Whether a failed call only means that this way cannot work here, so that
// the next way should take over. Anything else is a real error.
bool MeansUnsupported(int code) {
    return code == EXDEV || code == ENOSYS || code == EOPNOTSUPP || code == EINVAL;
}

bool SeekBothToEnd(int source, int target, int& error) {
    if (::lseek(source, 0, SEEK_END) < 0 || ::lseek(target, 0, SEEK_END) < 0) {
        error = errno;
        return false;
    }
    return true;
}

// A clone shares the data of the whole file, so it fits only a copy of all
// of `source` into an empty `target`. It fails without changing the target
// wherever the file system does not clone; the next way then copies.
Step Clone(int source, int target, int& error) {
    struct stat from {};
    struct stat to {};
    if (::fstat(source, &from) != 0 || ::fstat(target, &to) != 0 || !S_ISREG(from.st_mode) ||
        ::lseek(source, 0, SEEK_CUR) != 0 || to.st_size != 0 ||
        ::ioctl(target, FICLONE, source) != 0) {
        return Step::kFallBack;
    }
    return SeekBothToEnd(source, target, error) ? Step::kDone : Step::kFailed;
}

// Whether `source` still holds bytes past its offset: a call that moved
// nothing at the start proves the end only if it does not.
bool HasMore(int source) {
    struct stat info {};
    const off_t offset = ::lseek(source, 0, SEEK_CUR);
    return ::fstat(source, &info) == 0 && offset >= 0 && info.st_size > offset;
}

// Runs `move` (one kernel call moving up to kKernelChunk bytes between the
// files' offsets) until the source's end.
template <typename Move>
Step MoveInKernel(int source, Move move, int& error) {
    for (bool first = true;; first = false) {
        const ssize_t moved = move();
        if (moved > 0) {
            continue;
        }
        if (moved == 0) {
            // Some file systems answer 0 for "not here" rather than an error.
            return first && HasMore(source) ? Step::kFallBack : Step::kDone;
        }
        if (errno == EINTR) {
            continue;
        }
        if (MeansUnsupported(errno)) {
            return Step::kFallBack;
        }
        error = errno;
        return Step::kFailed;
    }
}

Step CopyRange(int source, int target, int& error) {
    return MoveInKernel(
        source,
        [&] { return ::copy_file_range(source, nullptr, target, nullptr, kKernelChunk, 0); },
        error);
}

Step SendFile(int source, int target, int& error) {
    return MoveInKernel(
        source, [&] { return ::sendfile(target, source, nullptr, kKernelChunk); }, error);
}

Step ReadWrite(int source, int target, int& error) {
    std::array<std::uint8_t, kBufferBytes> buffer{};
    for (;;) {
        const ssize_t got = ::read(source, buffer.data(), buffer.size());
        if (got == 0) {
            return Step::kDone;
        }
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            error = errno;
            return Step::kFailed;
        }
        for (ssize_t put = 0; put < got;) {
            const ssize_t wrote =
                ::write(target, buffer.data() + put, static_cast<std::size_t>(got - put));
            if (wrote < 0) {
                if (errno == EINTR) {
                    continue;
                }
                error = errno;
                return Step::kFailed;
            }
            put += wrote;
        }
    }
}

Step Copy(CopyRoute route, int source, int target, int& error) {
    switch (route) {
        case CopyRoute::kClone:
            return Clone(source, target, error);
        case CopyRoute::kCopyRange:
            return CopyRange(source, target, error);
        case CopyRoute::kSendfile:
            return SendFile(source, target, error);
        case CopyRoute::kReadWrite:
            break;
    }
    return ReadWrite(source, target, error);
}

}  // namespace

bool CopyFileContents(int source, int target, CopyRoute first, CopyRoute& used, int& error) {
    constexpr std::array kRoutes{CopyRoute::kClone, CopyRoute::kCopyRange, CopyRoute::kSendfile,
                                 CopyRoute::kReadWrite};
    for (const CopyRoute route : kRoutes) {
        if (route < first) {
            continue;
        }
        switch (Copy(route, source, target, error)) {
            case Step::kDone:
                used = route;
                return true;
            case Step::kFailed:
                return false;
            case Step::kFallBack:
                break;
        }
    }
    // The plain loop never falls back.
    error = EIO;
    return false;
}
