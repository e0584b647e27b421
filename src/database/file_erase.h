#pragma once
// Erasing a file the way the shared database needs it: on the network
// share a file that another workstation (or another open here) holds open
// cannot be erased, so a stale scratch file still in use is left alone and
// its name is passed over, and a table in use is never pulled from under
// its users. POSIX would unlink an open file without a word and leave the
// other holder working on a file nobody can see any more.
#include <string_view>

#include "storage/file_system.h"

namespace intra {

// Erases the file unless another open holds it (in any share mode); true
// when the file is gone afterwards (also when it was not there).
bool erase_unless_open(FileSystem& fs, std::string_view name);

}  // namespace intra
