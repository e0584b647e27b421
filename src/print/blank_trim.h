#pragma once
// Blanks cut from the ends of typed texts and field values, or added to
// fill a field or a screen row.
#include <string>
#include <string_view>

namespace intra {

inline std::string trim_right(std::string_view text) {
  const std::size_t end = text.find_last_not_of(' ');
  return std::string(end == std::string_view::npos ? std::string_view{} : text.substr(0, end + 1));
}

// `text` cut or padded with blanks to `width` bytes.
inline std::string padded(std::string text, std::size_t width) {
  text.resize(width, ' ');
  return text;
}

inline std::string trim_blanks(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  return first == std::string_view::npos ? std::string() : trim_right(text.substr(first));
}

}  // namespace intra
