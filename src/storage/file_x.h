#pragma once
// FILE_X: whether a file exists, the way marker files and tables are tested
// all over the system. Every blank is taken out of the name first (also
// blanks inside it, so "KOPIA .TXT" tests KOPIA.TXT), then the name is
// tried in capitals and in small letters.
#include <string_view>

#include "storage/file_system.h"

namespace intra {

bool FILE_X(std::string_view name, const FileSystem& fs = file_system());

}  // namespace intra
