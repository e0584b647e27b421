#pragma once
// The order of keys in an index: unsigned bytes, no collation table, every
// result reversed for a descending index. Stored keys always have the full
// key size; a search key may be shorter.
#include <cstring>
#include <string_view>

namespace intra {

class NtxKeyOrder {
 public:
  NtxKeyOrder(int key_size, bool descending) : key_size_(static_cast<std::size_t>(key_size)), descending_(descending) {}

  // A stored key against a search key over the search key's own length, so
  // that "AB" meets the first key beginning with it. Negative: the stored
  // key comes first in the index.
  int compare_prefix(const unsigned char* stored, std::string_view search) const {
    return oriented(std::memcmp(stored, search.data(), search.size()));
  }

  // Equal-key detection: as compare_prefix, but a search key shorter than
  // the key size, equal over its length, comes before the stored key.
  int compare_exact(const unsigned char* stored, std::string_view search) const {
    int c = std::memcmp(stored, search.data(), search.size());
    if (c == 0 && search.size() < key_size_) c = 1;
    return oriented(c);
  }

  // Two stored keys.
  int compare_stored(const unsigned char* a, const unsigned char* b) const {
    return oriented(std::memcmp(a, b, key_size_));
  }

  std::size_t key_size() const { return key_size_; }
  bool descending() const { return descending_; }

 private:
  int oriented(int c) const { return descending_ ? -c : c; }

  std::size_t key_size_;
  bool descending_;
};

}  // namespace intra
