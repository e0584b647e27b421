#pragma once
// Which memory variables a save or restore of a memory-variable file takes.
// A mask whose first character is '*' selects every name. Any other mask is
// compared with the whole name, ignoring ASCII letter case: '*' stands for
// any run of characters (also none), '?' for at most one character, every
// other character for itself. So "J_*" selects exactly the names beginning
// with "J_", and "*X" selects every name.
#include <string_view>

namespace intra {

bool variable_mask_matches(std::string_view mask, std::string_view name);

// The mask rule with the include flag: true takes the names the mask
// matches, false the names it does not.
inline bool variable_selected(std::string_view mask, bool include, std::string_view name) {
  return variable_mask_matches(mask, name) == include;
}

}  // namespace intra
