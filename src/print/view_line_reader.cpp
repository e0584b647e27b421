#include "print/view_line_reader.h"

#include <string_view>

#include "database/text_lines.h"

namespace intra {

std::string read_view_line(File& handle, std::uint64_t& position, std::uint64_t end_of_file) {
  char buffer[kLineReadSize];
  const long long got = position < end_of_file ? handle.read_at(position, buffer, sizeof buffer) : 0;
  if (got <= 0) {
    position = end_of_file;
    return {};
  }
  const std::string_view bytes(buffer, static_cast<std::size_t>(got));
  const std::size_t end = bytes.find("\r\n");
  if (end != std::string_view::npos) {
    position += end + 2;
    return std::string(bytes.substr(0, end));
  }
  if (bytes.size() == sizeof buffer) {
    position += kViewPieceSize;
    return std::string(bytes.substr(0, kViewPieceSize));
  }
  position += bytes.size();
  return std::string(bytes);
}

}  // namespace intra
