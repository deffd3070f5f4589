#include "CarrierFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

CarrierFile::CarrierFile(const std::string& path, const SizeLimit& limit) : m_path(path) {
    struct stat info {};
    m_fd = OpenInput(path, info);
    if (S_ISREG(info.st_mode)) {
        RefuseIfTooLarge(info, path, limit);
        m_length = static_cast<std::int32_t>(info.st_size);
        if (m_length == 0 || Map()) {
            return;
        }
        // A file system that cannot map: read it whole, as a pipe is.
    }
    m_held = ReadWholeInput(m_fd.Get(), info, path, limit);
    m_inMemory = true;
    m_length = static_cast<std::int32_t>(m_held.size());
}

bool CarrierFile::Map() {
    // Mapping reads nothing yet: pages are read when they are looked at.
    void* mapped =
        ::mmap(nullptr, static_cast<std::size_t>(m_length), PROT_READ, MAP_SHARED, m_fd.Get(), 0);
    if (mapped == MAP_FAILED) {
        return false;
    }
    m_mapped = {static_cast<const std::uint8_t*>(mapped), static_cast<std::size_t>(m_length)};
    return true;
}

void CarrierFile::TakeFilled(const AtomicFile& file, std::int32_t length) {
    Unmap();
    m_held = {};
    m_inMemory = false;
    m_fd = UniqueFd(::fcntl(file.Descriptor(), F_DUPFD_CLOEXEC, 0));
    m_length = length;
    if (!m_fd.Valid() || (m_length > 0 && !Map())) {
        RefuseRead(m_path, errno);
    }
}

CarrierFile::~CarrierFile() {
    Unmap();
}

void CarrierFile::Unmap() {
    if (!m_mapped.empty()) {
        ::munmap(const_cast<std::uint8_t*>(m_mapped.data()), m_mapped.size());
        m_mapped = {};
    }
}

std::span<const std::uint8_t> CarrierFile::Bytes() const {
    if (m_inMemory) {
        return m_held;
    }
    return m_mapped;
}

std::vector<std::uint8_t> CarrierFile::Read(std::int64_t first, std::int64_t end) const {
    first = std::clamp<std::int64_t>(first, 0, m_length);
    end = std::clamp<std::int64_t>(end, first, m_length);
    if (m_inMemory) {
        return {m_held.begin() + first, m_held.begin() + end};
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(end - first));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::pread(m_fd.Get(), bytes.data() + done, bytes.size() - done,
                                    static_cast<off_t>(first + static_cast<std::int64_t>(done)));
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            RefuseRead(m_path, errno);
        }
        if (got == 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    bytes.resize(done);
    return bytes;
}

CarrierFetch CarrierFile::Fetch() const {
    return [this](std::int64_t first, std::int64_t end) { return Read(first, end); };
}

bool CarrierFile::CopyTo(AtomicFile& file, std::string& reason) const {
    return m_inMemory ? file.Fill(m_held, reason) : file.FillFrom(m_fd.Get(), reason);
}
