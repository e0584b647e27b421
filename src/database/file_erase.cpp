#include "database/file_erase.h"

#include "storage/share_mode.h"

namespace intra {

bool erase_unless_open(FileSystem& fs, std::string_view name) {
  if (!fs.exists(name)) return true;
  // The exclusive share mode is held while the name is removed, so no
  // other station can open the file between the test and the erase.
  const std::unique_ptr<File> probe = fs.open(name, OpenMode::ReadWrite);
  if (probe && take_share_mode(*probe, true) == ShareResult::Conflict) return false;
  fs.remove(name);
  return !fs.exists(name);
}

}  // namespace intra
