#pragma once
// An INI file in memory, in file order: sections with their entries, and the
// global keys and comments that stand before the first section. A comment
// is kept as a whole line with no key, so it is written back where it stood.
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace intra {

// (key, value), or (no key, comment line) inside a section.
struct IniEntry {
  std::optional<std::string> key;
  std::string text;  // the value, or the whole comment line
};

struct IniSection {
  std::string name;
  std::vector<IniEntry> entries;
};

// A key before the first section.
struct IniGlobalKey {
  std::string key;
  std::string value;
};

// A comment line before the first section.
struct IniGlobalComment {
  std::string line;
};

using IniElement = std::variant<IniSection, IniGlobalKey, IniGlobalComment>;
using IniContents = std::vector<IniElement>;

}  // namespace intra
