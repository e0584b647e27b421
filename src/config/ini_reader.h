#pragma once
// Reading an INI file into its contents. Lines end with CR; LF bytes are
// dropped wherever they stand; a last line without CR is not read; blank
// lines are dropped; nothing in a line is trimmed.
#include <string>
#include <string_view>
#include <vector>

#include "config/ini_contents.h"
#include "storage/file_system.h"

namespace intra {

// The non-blank lines of the file, read in pieces of 256 bytes.
std::vector<std::string> read_ini_lines(File& file);

// Contents from lines in file order: "[name]" starts a section, ";" a
// comment, anything else is key=value split at the first "=" (or a key with
// the empty value); lines before the first section are global.
IniContents build_ini_contents(const std::vector<std::string>& lines);

// Blank as the system means it: nothing but spaces, tabs, CR and LF.
bool is_blank_text(std::string_view text);

}  // namespace intra
