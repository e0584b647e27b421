#include "session/doklej_txt.h"

#include <string>

namespace intra {

bool DOKLEJ_TXT(std::string_view file, std::string_view text, FileSystem& fs) {
  std::unique_ptr<File> handle = fs.open(file, OpenMode::ReadWrite);
  if (!handle) handle = fs.open(file, OpenMode::Create);
  if (!handle) return false;
  const std::optional<std::uint64_t> end = handle->size();
  if (!end) return false;
  const std::string line = std::string(text) + "\r\n";
  return handle->write_at(*end, line.data(), line.size()) == static_cast<long long>(line.size());
}

}  // namespace intra
