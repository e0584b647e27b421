#pragma once
// ASCII letter case of names: aliases, field names and file names are
// upper-cased this way (the letters of code page 852 above 127 stay as they
// are, as the table headers keep them).
#include <string>
#include <string_view>

namespace intra {

std::string upper_ascii(std::string_view text);
std::string lower_ascii(std::string_view text);

}  // namespace intra
