#pragma once
// A key of an index with the record it belongs to, and the producer of such
// pairs for a bulk build.
#include <cstdint>
#include <functional>
#include <string>

namespace intra {

struct KeyEntry {
  std::string key;  // the key size in bytes (a build pads with spaces or cuts)
  std::uint32_t recno = 0;
};

// Fills the next pair in record order and returns true; false at the end.
using KeySource = std::function<bool(KeyEntry&)>;

}  // namespace intra
