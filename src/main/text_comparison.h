#pragma once
// How the system compares texts. With exact comparison off (the setting of
// the whole run) `a = b` holds when b is a prefix of a, so also for an empty
// b; `a == b` compares the whole texts. Filters, start-argument tests and
// the `=` of key expressions all follow this one rule.
#include <string_view>

namespace intra {

// Three-way order of two texts: bytes compare unsigned, a proper prefix is
// the smaller. Without `exact` the left text is first cut to the length of
// the right one, so "ABC" against "AB" or "" gives 0.
int compare_texts(std::string_view left, std::string_view right, bool exact);

// `left = right` with exact comparison off.
inline bool text_equals(std::string_view left, std::string_view right) {
  return compare_texts(left, right, false) == 0;
}
// `left == right`.
inline bool text_identical(std::string_view left, std::string_view right) { return left == right; }

}  // namespace intra
