#pragma once

#include <cstdint>
#include <string>

#include "AtomicFile.h"
#include "CString.h"
#include "WinTypes.h"

// A binary file opened for reading, which other programs may read but not
// write while it is open. Open flags as the class library has them; writing
// goes through CAtomicFile below.
class CFile {
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        typeBinary = 0x8000,
    };

    CFile() = default;
    ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // False when the file cannot be opened; `error` then says why.
    BOOL Open(const CString& path, UINT flags, std::string* error = nullptr);
    std::uint64_t GetLength() const;
    // Reads up to `count` bytes; fewer only at the end of the file. Throws
    // nothing: a read error gives what was read before it, and sets `error`.
    std::size_t Read(void* buffer, std::size_t count, std::string* error = nullptr);
    void Close();
    bool IsOpen() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};

// A file written in full beside its target and then put in its place, so
// that the target is either the old file or the complete new one, never a
// part of either. What may be replaced is AtomicFile's policy, the same as
// the command-line tool's: links followed, special and read-only files refused.
class CAtomicFile {
public:
    bool Open(const CString& target, std::string* error);
    bool Write(const void* buffer, std::size_t count, std::string* error);
    // Flushes to disk and renames the temporary file over the target.
    bool Commit(std::string* error);

private:
    AtomicFile m_file;  // dropped unless committed
};
