#pragma once

#include <cstddef>
#include <string>

#include "UniqueFd.h"

// A file written in full beside its target and then renamed over it, so that
// the target is either the old file or the complete new one, never a part of
// either. Failures give the errno value; what counts as a target (a link
// followed or not, a read-only file refused or not) is the caller's choice.
class AtomicFile {
public:
    AtomicFile() = default;
    ~AtomicFile();  // drops the temporary file unless committed
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Creates the temporary file in `target`'s folder, with the permissions
    // of the file it will replace, or those a new file would get.
    bool Open(const std::string& target, int& error);
    bool Write(const void* bytes, std::size_t count, int& error);
    // Flushes to disk, renames over the target and makes the rename durable.
    bool Commit(int& error);

private:
    void Discard();

    std::string m_target;
    std::string m_temporary;
    UniqueFd m_fd;
};
