#include "storage/file_x.h"

#include <string>

#include "main/ascii_case.h"

namespace intra {

bool FILE_X(std::string_view name, const FileSystem& fs) {
  std::string packed(name);
  std::erase(packed, ' ');
  if (packed.empty()) return false;
  return fs.exists(upper_ascii(packed)) || fs.exists(lower_ascii(packed));
}

}  // namespace intra
