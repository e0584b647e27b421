#pragma once
// The name a report is written under. The target is deleted first; when
// another process still holds it (so it cannot be deleted), the two
// characters before the four-character extension are replaced by 51, 52,
// ... 99 in turn (rob\wydruk01.prn -> rob\wydruk51.prn): a name that does
// not exist is taken, an existing one is taken if it can be deleted.
// When none can be taken the name first given is used after all.
#include <string>
#include <string_view>

#include "storage/file_system.h"

namespace intra {

std::string free_print_file_name(std::string_view file, FileSystem& fs = file_system());

}  // namespace intra
