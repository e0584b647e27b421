#pragma once
// A position in an index tree: one (page, position) per level from the root
// down. At an inner level the position names the child the path continues
// in (k: the rightmost child). A settled path ends at its current item: the
// last level's position is below that page's key count; levels below an
// inner current item are dropped. The empty path is past either end.
#include <array>
#include <cstdint>

namespace intra {

struct NtxPathLevel {
  std::uint32_t page = 0;
  int position = 0;
};

class NtxPath {
 public:
  // A deeper tree is taken for a damaged one (a cycle among its pages).
  static constexpr int kMaxDepth = 64;

  int depth() const { return depth_; }
  bool empty() const { return depth_ == 0; }
  NtxPathLevel& operator[](int level) { return levels_[static_cast<std::size_t>(level)]; }
  const NtxPathLevel& operator[](int level) const { return levels_[static_cast<std::size_t>(level)]; }
  NtxPathLevel& back() { return levels_[static_cast<std::size_t>(depth_ - 1)]; }
  const NtxPathLevel& back() const { return levels_[static_cast<std::size_t>(depth_ - 1)]; }

  // False when the path would get deeper than kMaxDepth.
  bool push(std::uint32_t page, int position) {
    if (depth_ == kMaxDepth) return false;
    levels_[static_cast<std::size_t>(depth_++)] = {page, position};
    return true;
  }
  void pop() { --depth_; }
  void clear() { depth_ = 0; }

 private:
  std::array<NtxPathLevel, kMaxDepth> levels_{};
  int depth_ = 0;
};

}  // namespace intra
