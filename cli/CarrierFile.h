#pragma once

#include <cstdint>
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

    std::int32_t Length() const { return m_length; }

    // The carrier's bytes [first, end), which must lie inside it; fewer when
    // the file has shrunk since it was opened. Throws Refusal on a read error.
    std::vector<std::uint8_t> Read(std::int64_t first, std::int64_t end) const;

    // Reads records as CarrierFetch describes, through Read().
    CarrierFetch Fetch() const;

    // Fills `file` with the whole carrier: copied by the kernel from a
    // regular file, written from memory otherwise.
    bool CopyTo(AtomicFile& file, std::string& reason) const;

private:
    std::string m_path;
    UniqueFd m_fd;
    std::vector<std::uint8_t> m_held;  // the whole carrier, when not a regular file
    bool m_inMemory = false;
    std::int32_t m_length = 0;
};
