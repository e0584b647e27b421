#include "main/text_comparison.h"

#include <algorithm>
#include <cstring>

namespace intra {

int compare_texts(std::string_view left, std::string_view right, bool exact) {
  if (!exact && right.size() < left.size()) left = left.substr(0, right.size());
  const std::size_t common = std::min(left.size(), right.size());
  const int bytes = common == 0 ? 0 : std::memcmp(left.data(), right.data(), common);
  if (bytes != 0) return bytes < 0 ? -1 : 1;
  if (left.size() == right.size()) return 0;
  return left.size() < right.size() ? -1 : 1;
}

}  // namespace intra
