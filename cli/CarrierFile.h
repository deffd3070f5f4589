#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "AtomicFile.h"
#include "CarrierRecords.h"
#include "FileIO.h"
#include "UniqueFd.h"

// A carrier read only where the records are. A regular file is read in place
// by offset, so that reading a record costs what the record costs whatever
// the image's size; anything else OpenInput accepts (a pipe) can only be
// read once from its start, so it is read whole, within the size limit.
class CarrierFile {
public:
    // Opens `path`; throws Refusal as ReadWholeFile does.
    CarrierFile(const std::string& path, const SizeLimit& limit);
    ~CarrierFile();
    CarrierFile(const CarrierFile&) = delete;
    CarrierFile& operator=(const CarrierFile&) = delete;

    std::int32_t Length() const { return m_length; }

    // The carrier's bytes [first, end), which must lie inside it; fewer when
    // the file has shrunk since it was opened. Throws Refusal on a read error.
    std::vector<std::uint8_t> Read(std::int64_t first, std::int64_t end) const;

    // Reads records as CarrierFetch describes, through Read().
    CarrierFetch Fetch() const;

    // The whole carrier, for a reader that looks at more than the records (the
    // bitmap inspector). A regular file is mapped into memory, so that only
    // the pages looked at are read. A file cut short by someone else while it
    // is looked at ends the tool (SIGBUS) before anything is written.
    std::span<const std::uint8_t> Bytes() const;

    // Makes the `length` bytes filled into `file` the carrier from now on (a
    // converted picture, written to the output before anything is asked),
    // looked at in place like a regular file.
    void TakeFilled(const AtomicFile& file, std::int32_t length);

    // Fills `file` with the whole carrier: copied by the kernel from a
    // regular file, written from memory otherwise.
    bool CopyTo(AtomicFile& file, std::string& reason) const;

private:
    bool Map();
    void Unmap();

    std::string m_path;
    UniqueFd m_fd;
    std::vector<std::uint8_t> m_held;  // the whole carrier, when it is not read in place
    std::span<const std::uint8_t> m_mapped;
    bool m_inMemory = false;
    std::int32_t m_length = 0;
};
