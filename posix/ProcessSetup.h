#pragma once

// What both programs do first thing, before they hold any secret or write any
// file:
// - they cannot be dumped: a core file would hold the password and the
//   message, and no other process of the same user may read their memory;
// - a write past the file size limit (ulimit -f) fails with EFBIG instead of
//   killing the process, so that the failure is reported and the temporary
//   file is removed.
void SetUpProcess();
