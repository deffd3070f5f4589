#pragma once

#include <string>

// Copying a file's contents with the kernel doing the work, so that no byte
// passes through this process where the kernel can avoid it.
//
// The ways, best first. Each later one takes over where an earlier one
// cannot work here (another file system, an older kernel, a file system
// without the call), continuing from where it stopped:
enum class CopyRoute {
    kClone,      // FICLONE: the file system shares the data (XFS, btrfs)
    kCopyRange,  // copy_file_range: copied inside the kernel, or offloaded
    kSendfile,   // sendfile: copied inside the kernel, across file systems
    kReadWrite,  // read and write through a buffer of our own
};

// Copies what `source` holds from its current offset to its end into
// `target` at its offset, the end of a file being filled (both regular
// files; a pipe as `source` is read through the buffer), starting with the
// way `first` and falling back from there. A clone needs the whole source and
// an empty target; otherwise it is passed over.
// Leaves both offsets at the end of what was copied. On success `used` names
// the last way that worked. Fails with the errno value of a real error (a
// full disk, a failing device); on failure the target holds a partial copy.
bool CopyFileContents(int source, int target, CopyRoute first, CopyRoute& used, int& error);
