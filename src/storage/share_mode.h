#pragma once
// Share modes of open files, kept as a lock on a region no other lock of
// the database uses (kShareModeOffset). Held for as long as the file is
// open: the operating system drops it when the file is closed, also when
// the process dies.
#include "storage/file_system.h"

namespace intra {

enum class ShareResult { Granted, Conflict, Failed };

// A shared open takes a shared lock, an exclusive open an exclusive one;
// both fail at once when another open holds a conflicting one. A file open
// for reading only cannot hold an exclusive lock: an exclusive read-only
// open keeps out writers only.
ShareResult take_share_mode(File& file, bool exclusive);

}  // namespace intra
