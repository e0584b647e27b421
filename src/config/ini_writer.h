#pragma once
// The bytes an INI file is written as: every element in order, each line
// ending in CR LF, each section followed by an empty line.
#include <string>

#include "config/ini_contents.h"

namespace intra {

std::string ini_file_bytes(const IniContents& contents);

}  // namespace intra
