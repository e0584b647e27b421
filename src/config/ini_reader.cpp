#include "config/ini_reader.h"

#include <algorithm>
#include <array>

namespace intra {

namespace {

constexpr std::size_t kPieceSize = 256;

// Takes one non-blank line into the contents; `section` is the section the
// line stands in, or nullptr before the first one.
void take_in_line(const std::string& line, IniContents& contents, IniSection*& section) {
  if (line.front() == '[') {
    std::string name = line.substr(1);
    // The name ends at the first "]"; without one it is the rest of the line.
    if (const auto close = name.find(']'); close != std::string::npos) name.resize(close);
    contents.emplace_back(IniSection{std::move(name), {}});
    section = &std::get<IniSection>(contents.back());
    return;
  }
  if (line.front() == ';') {
    if (section) {
      section->entries.push_back(IniEntry{std::nullopt, line});
    } else {
      contents.emplace_back(IniGlobalComment{line});
    }
    return;
  }
  std::string key = line;
  std::string value;
  if (const auto equals = line.find('='); equals != std::string::npos) {
    key = line.substr(0, equals);
    value = line.substr(equals + 1);
  }
  if (section) {
    section->entries.push_back(IniEntry{std::move(key), std::move(value)});
  } else {
    contents.emplace_back(IniGlobalKey{std::move(key), std::move(value)});
  }
}

}  // namespace

bool is_blank_text(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; });
}

std::vector<std::string> read_ini_lines(File& file) {
  std::vector<std::string> lines;
  std::string carried;  // the text after the last CR, waiting for its CR
  std::uint64_t offset = 0;
  for (;;) {
    std::array<char, kPieceSize> buffer;
    buffer.fill(' ');  // a short last piece stays padded with blanks
    const long long got = file.read_at(offset, buffer.data(), buffer.size());
    if (got <= 0) break;
    offset += static_cast<std::uint64_t>(got);
    std::string piece(buffer.data(), buffer.size());
    piece.erase(std::remove(piece.begin(), piece.end(), '\n'), piece.end());
    piece = carried + piece;
    carried.clear();
    for (;;) {
      const auto cr = piece.find('\r');
      if (cr == std::string::npos) {
        // Carried over whole, blanks too, so that a line reads the same
        // wherever the piece boundaries fall.
        carried = std::move(piece);
        break;
      }
      std::string line = piece.substr(0, cr);
      piece.erase(0, cr + 1);
      if (!is_blank_text(line)) lines.push_back(std::move(line));
    }
  }
  return lines;
}

IniContents build_ini_contents(const std::vector<std::string>& lines) {
  IniContents contents;
  // Sections are appended only, and `section` is re-pointed after every
  // append, so it never dangles.
  IniSection* section = nullptr;
  for (const std::string& line : lines) take_in_line(line, contents, section);
  return contents;
}

}  // namespace intra
