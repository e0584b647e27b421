#pragma once
// DOKLEJ_TXT: one line appended to a text file with CR LF, the file
// created when it does not exist yet (the error log bledy.txt):
//
//   DOKLEJ_TXT("bledy.txt", "11.12.2026, 09:00 \xB3 ?");
#include <string_view>

#include "storage/file_system.h"

namespace intra {

// False when the file could neither be opened nor created, or the line
// could not be written whole; true once it is there.
bool DOKLEJ_TXT(std::string_view file, std::string_view text, FileSystem& fs = file_system());

}  // namespace intra
