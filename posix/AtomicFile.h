#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "UniqueFd.h"

// A file written in full beside its target and then renamed over it, so that
// the target is either the old file or the complete new one, never a part of
// either. The one policy for what may be replaced, shared by the window and
// the command-line tool:
// - a symbolic link is followed to the file it names, unless the link lies in
//   a sticky world-writable folder and belongs to neither the caller nor the
//   folder's owner (where the kernel would not follow it either);
// - only a regular file is replaced: never a device, FIFO, socket or folder;
// - a file whose mode has no write bit for anyone is not replaced, even by
//   the superuser, nor is a file the caller may not write, even where the
//   folder would allow the rename;
// - the new file keeps the old one's permission bits, less set-user-ID,
//   set-group-ID and sticky, and, for the superuser, its owner and group; a
//   new file gets 0666 less the umask.
// Failures give a reason for the user (a system error's text, or the
// policy's own words) and leave the target and its folder as they were.
class AtomicFile {
public:
    AtomicFile() = default;
    ~AtomicFile();  // removes the temporary file unless committed
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Checks `path` against the policy and creates an empty temporary file,
    // under an unpredictable name, in the folder of the file it will replace.
    bool Open(const std::string& path, std::string& reason);
    // Appends `bytes` to the temporary file.
    bool Fill(std::span<const std::uint8_t> bytes, std::string& reason);
    // Appends what `source` holds from its current offset to its end, copied
    // by the kernel: a clone where the file system shares data, so that a
    // large file costs next to nothing (see KernelCopy.h).
    bool FillFrom(int source, std::string& reason);
    // Reads back `bytes.size()` bytes at `offset` of what has been filled in,
    // so that a patch can be made from the copy itself.
    bool ReadBack(std::uint64_t offset, std::span<std::uint8_t> bytes, std::string& reason) const;
    // Overwrites `bytes` at `offset` of what has been filled in.
    bool Patch(std::uint64_t offset, std::span<const std::uint8_t> bytes, std::string& reason);
    // Flushes to disk, renames over the target and makes the rename durable.
    bool Commit(std::string& reason);

    // The temporary file, open for reading and writing, for a reader that
    // looks at what has been filled in (a mapping of a converted picture).
    int Descriptor() const { return m_fd.Get(); }

    // The file that Commit() replaces: the path given, or where its links lead.
    const std::string& Target() const { return m_target; }

private:
    void Discard();

    std::string m_target;
    std::string m_temporary;
    UniqueFd m_fd;
};
