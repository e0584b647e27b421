#include "storage/variable_mask.h"

#include <vector>

namespace intra {
namespace {

char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

bool variable_mask_matches(std::string_view mask, std::string_view name) {
  if (!mask.empty() && mask.front() == '*') return true;
  // reach[i]: the mask characters taken so far can match the first i
  // characters of the name. One pass per mask character keeps the work at
  // mask length times name length, whatever the mask holds.
  std::vector<bool> reach(name.size() + 1, false);
  reach[0] = true;
  for (const char m : mask) {
    std::vector<bool> next(name.size() + 1, false);
    for (std::size_t i = 0; i <= name.size(); ++i) {
      if (!reach[i]) continue;
      if (m == '*') {
        for (std::size_t j = i; j <= name.size(); ++j) next[j] = true;
        break;  // every later position is reached already
      }
      if (m == '?') {
        next[i] = true;
        if (i < name.size()) next[i + 1] = true;
      } else if (i < name.size() && upper(name[i]) == upper(m)) {
        next[i + 1] = true;
      }
    }
    reach.swap(next);
  }
  return reach[name.size()];
}

}  // namespace intra
