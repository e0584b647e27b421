#include "session/station_map.h"

namespace intra {

std::string map_report_text(std::string_view map) {
  std::string report;
  for (char c : map) {
    if (c == ' ' || c == '0') continue;
    report += c == kShadedZero ? '0' : c;
  }
  return report;
}

std::size_t first_free_position(std::string_view map) {
  if (const std::size_t zero = map.find('0'); zero != std::string_view::npos) return zero + 1;
  if (const std::size_t blank = map.find(' '); blank != std::string_view::npos) return blank + 1;
  return 0;
}

std::string lone_start_map(std::size_t width) {
  if (width == 0) return {};
  return std::string(1, kOwnMark) + std::string(width - 1, '0');
}

std::string with_mark(std::string map, std::size_t position, char mark) {
  if (position >= 1 && position <= map.size()) map[position - 1] = mark;
  return map;
}

}  // namespace intra
