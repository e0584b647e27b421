#include "storage/ntx_tree.h"

#include <array>
#include <cstring>

namespace intra {
namespace {

// An item travelling up during a split, held outside any page so that the
// pages it came from can change under it.
struct LooseItem {
  std::uint32_t child = 0;
  std::uint32_t recno = 0;
  std::array<unsigned char, kNtxMaxKeySize> key{};

  void take(std::uint32_t child_offset, std::uint32_t record, const unsigned char* bytes, std::size_t size) {
    child = child_offset;
    recno = record;
    std::memcpy(key.data(), bytes, size);
  }
};

// Steps a run of equal keys may take before the file size is consulted to
// tell a long run from a damaged tree that leads round in circles.
constexpr std::uint64_t kStepsBeforeBound = 4096;

}  // namespace

int NtxTree::lower_position(const NtxPage& page, std::string_view key, Bound bound) const {
  int low = 0;
  int high = page.count();
  while (low < high) {
    const int middle = (low + high) / 2;
    const bool before = bound == Bound::FirstNotLess ? order_.compare_prefix(page.key(middle), key) < 0
                                                     : order_.compare_exact(page.key(middle), key) <= 0;
    if (before)
      low = middle + 1;
    else
      high = middle;
  }
  return low;
}

bool NtxTree::descend(std::string_view key, Bound bound, NtxPath& path) {
  path.clear();
  std::uint32_t offset = store_.state().root;
  for (;;) {
    NtxPage page = store_.page(offset);
    if (!page) return false;
    // The binary search below touches the page's cache lines one after
    // another; asking for all of them first hides most of the waiting.
    for (std::size_t at = 0; at < kNtxBlockSize; at += 64) __builtin_prefetch(page.bytes() + at);
    const int position = lower_position(page, key, bound);
    if (!path.push(offset, position)) return store_.corrupt("tree deeper than 64 levels");
    offset = page.child(position);
    if (offset == 0) return true;
  }
}

bool NtxTree::settle_forward(NtxPath& path) {
  while (!path.empty()) {
    NtxPage page = store_.page(path.back().page);
    if (!page) return false;
    if (path.back().position < page.count()) return true;
    path.pop();
  }
  return true;
}

bool NtxTree::settle_backward(NtxPath& path) {
  while (!path.empty() && path.back().position < 0) {
    path.pop();
    if (!path.empty()) --path.back().position;  // the key before the subtree just left
  }
  return true;
}

bool NtxTree::first(NtxPath& path) {
  path.clear();
  std::uint32_t offset = store_.state().root;
  for (;;) {
    NtxPage page = store_.page(offset);
    if (!page) return false;
    if (!path.push(offset, 0)) return store_.corrupt("tree deeper than 64 levels");
    offset = page.child(0);
    if (offset == 0) return settle_forward(path);
  }
}

bool NtxTree::last(NtxPath& path) {
  path.clear();
  std::uint32_t offset = store_.state().root;
  for (;;) {
    NtxPage page = store_.page(offset);
    if (!page) return false;
    const int k = page.count();
    if (!path.push(offset, k)) return store_.corrupt("tree deeper than 64 levels");
    offset = page.child(k);
    if (offset == 0) {
      path.back().position = k - 1;
      return settle_backward(path);
    }
  }
}

bool NtxTree::next(NtxPath& path) {
  if (path.empty()) return true;
  NtxPage page = store_.page(path.back().page);
  if (!page) return false;
  if (path.back().position >= page.count()) return settle_forward(path);
  const int position = ++path.back().position;
  // The subtree between the current key and the next one, if any, holds
  // the next key at its leftmost leaf.
  std::uint32_t offset = page.child(position);
  while (offset != 0) {
    NtxPage below = store_.page(offset);
    if (!below) return false;
    if (!path.push(offset, 0)) return store_.corrupt("tree deeper than 64 levels");
    offset = below.child(0);
  }
  return settle_forward(path);
}

bool NtxTree::prev(NtxPath& path) {
  if (path.empty()) return true;
  NtxPage page = store_.page(path.back().page);
  if (!page) return false;
  const int position = path.back().position;
  if (position < 0 || position > page.count()) return settle_backward(path);
  std::uint32_t offset = page.child(position);
  if (offset == 0) {
    --path.back().position;
    return settle_backward(path);
  }
  for (;;) {
    NtxPage below = store_.page(offset);
    if (!below) return false;
    const int k = below.count();
    if (!path.push(offset, k)) return store_.corrupt("tree deeper than 64 levels");
    offset = below.child(k);
    if (offset == 0) {
      path.back().position = k - 1;
      return settle_backward(path);
    }
  }
}

bool NtxTree::find(std::string_view key, std::uint32_t recno, NtxPath& path, bool& found) {
  found = false;
  if (!descend(key, Bound::FirstNotLess, path) || !settle_forward(path)) return false;
  std::uint64_t bound = 0;
  for (std::uint64_t steps = 0; !path.empty(); ++steps) {
    NtxPage page = current_page(path);
    if (!page) return false;
    const int position = path.back().position;
    if (order_.compare_exact(page.key(position), key) != 0) break;
    if (page.recno(position) == recno) {
      found = true;
      return true;
    }
    if (steps == kStepsBeforeBound && !store_.item_bound(bound)) return false;
    if (steps > kStepsBeforeBound && steps > bound) return store_.corrupt("equal keys lead round in circles");
    if (!next(path)) return false;
  }
  path.clear();
  return true;
}

bool NtxTree::insert(std::string_view key, std::uint32_t recno, bool& added) {
  added = false;
  const NtxGeometry& g = store_.geometry();
  const auto key_size = static_cast<std::size_t>(g.key_size);
  NtxPath path;
  if (!descend(key, unique_ ? Bound::FirstNotLess : Bound::FirstGreater, path)) return false;
  if (unique_) {
    NtxPath probe = path;
    if (!settle_forward(probe)) return false;
    if (!probe.empty()) {
      NtxPage page = current_page(probe);
      if (!page) return false;
      if (order_.compare_exact(page.key(probe.back().position), key) == 0) return true;
    }
  }

  LooseItem carried;
  carried.take(0, recno, reinterpret_cast<const unsigned char*>(key.data()), key_size);
  for (int level = path.depth() - 1;; --level) {
    NtxPage page = store_.page(path[level].page);
    if (!page) return false;
    const int position = path[level].position;
    if (page.count() < g.max_keys) {
      page.insert(position, carried.child, carried.recno, carried.key.data());
      added = true;
      return true;
    }
    // Split of the m + 1 items (the page's m and the carried one, in
    // order): the first (m + 1) div 2 go to a new left page, the next one
    // moves up, the rest stays here.
    NtxPage left = store_.allocate();
    if (!left) return false;
    if (left.offset() == page.offset()) return store_.corrupt("free list leads into the tree");
    const int m = g.max_keys;
    const int left_count = (m + 1) / 2;
    auto combined_item = [&](int j, std::uint32_t& child, std::uint32_t& record, const unsigned char*& bytes) {
      if (j == position) {
        child = carried.child;
        record = carried.recno;
        bytes = carried.key.data();
      } else {
        const int entry = j < position ? j : j - 1;
        child = page.child(entry);
        record = page.recno(entry);
        bytes = page.key(entry);
      }
    };
    std::uint32_t child = 0;
    std::uint32_t record = 0;
    const unsigned char* bytes = nullptr;
    for (int j = 0; j < left_count; ++j) {
      combined_item(j, child, record, bytes);
      left.fill_next(child, record, bytes);
    }
    LooseItem separator;
    combined_item(left_count, child, record, bytes);
    separator.take(child, record, bytes, key_size);
    left.set_child(left_count, separator.child);
    const int old_items_moved = position <= left_count ? left_count : left_count + 1;
    for (int r = 0; r < old_items_moved; ++r) page.remove(0);
    if (position > left_count) page.insert(position - (left_count + 1), carried.child, carried.recno, carried.key.data());

    separator.child = left.offset();
    if (level == 0) {
      NtxPage root = store_.allocate();
      if (!root) return false;
      if (root.offset() == page.offset() || root.offset() == left.offset())
        return store_.corrupt("free list leads into the tree");
      root.fill_next(separator.child, separator.recno, separator.key.data());
      root.set_child(1, page.offset());
      store_.state().root = root.offset();
      added = true;
      return true;
    }
    carried = separator;
  }
}

bool NtxTree::remove(std::string_view key, std::uint32_t recno, bool& found) {
  NtxPath path;
  if (!find(key, recno, path, found)) return false;
  if (!found) return true;
  NtxPage page = current_page(path);
  if (!page) return false;
  const int position = path.back().position;
  if (page.child(position) == 0) {
    page.remove(position);
  } else {
    // An inner item takes over its predecessor, the last key of its left
    // subtree, which then leaves its leaf instead.
    std::uint32_t offset = page.child(position);
    for (;;) {
      NtxPage below = store_.page(offset);
      if (!below) return false;
      const int k = below.count();
      if (!path.push(offset, k)) return store_.corrupt("tree deeper than 64 levels");
      offset = below.child(k);
      if (offset == 0) break;
    }
    NtxPage leaf = store_.page(path.back().page);
    if (!leaf) return false;
    const int k = leaf.count();
    if (k == 0) return store_.corrupt("empty leaf at " + std::to_string(leaf.offset()) + " under a key");
    path.back().position = k - 1;
    page.set_item(position, leaf.recno(k - 1), leaf.key(k - 1));
    leaf.remove(k - 1);
  }
  return rebalance_upwards(path) && collapse_root();
}

bool NtxTree::rebalance_upwards(NtxPath& path) {
  const int min_keys = store_.geometry().min_keys;
  for (int level = path.depth() - 1; level > 0; --level) {
    NtxPage page = store_.page(path[level].page);
    if (!page) return false;
    if (page.count() >= min_keys) return true;
    NtxPage parent = store_.page(path[level - 1].page);
    if (!parent) return false;
    const int k = parent.count();
    if (k == 0) {
      // No sibling to borrow from: an empty page goes, a short one stays.
      if (page.count() != 0) return true;
      if (!store_.release(page)) return false;
      parent.set_child(0, 0);
      continue;
    }
    const int position = path[level - 1].position;
    if (!balance(parent, position < k ? position : position - 1)) return false;
  }
  return true;
}

bool NtxTree::collapse_root() {
  NtxPage root = store_.page(store_.state().root);
  if (!root) return false;
  if (root.count() != 0 || root.child(0) == 0) return true;
  const std::uint32_t only_child = root.child(0);
  if (!store_.release(root)) return false;
  store_.state().root = only_child;
  return true;
}

bool NtxTree::balance(NtxPage parent, int separator) {
  const std::uint32_t left_offset = parent.child(separator);
  const std::uint32_t right_offset = parent.child(separator + 1);
  if (left_offset == right_offset || left_offset == parent.offset() || right_offset == parent.offset() ||
      left_offset == 0 || right_offset == 0)
    return store_.corrupt("page at " + std::to_string(parent.offset()) + " has bad children around key " +
                          std::to_string(separator));
  NtxPage left = store_.page(left_offset);
  if (!left) return false;
  NtxPage right = store_.page(right_offset);
  if (!right) return false;
  if (left.count() + right.count() < store_.geometry().max_keys)
    merge(parent, separator, left, right);
  else
    redistribute(parent, separator, left, right);
  return true;
}

void NtxTree::merge(NtxPage parent, int separator, NtxPage left, NtxPage right) {
  // Separator (over the left page's rightmost child), the right page's
  // items, then its rightmost child.
  const int left_count = left.count();
  left.insert(left_count, left.child(left_count), parent.recno(separator), parent.key(separator));
  const int right_count = right.count();
  for (int i = 0; i < right_count; ++i) left.insert(left.count(), right.child(i), right.recno(i), right.key(i));
  left.set_child(left.count(), right.child(right_count));
  parent.remove(separator);
  parent.set_child(separator, left.offset());
  store_.release(right);
}

void NtxTree::redistribute(NtxPage parent, int separator, NtxPage left, NtxPage right) {
  const int target = (left.count() + right.count() + 1) / 2;
  while (left.count() < target) {
    // Separator down to the end of the left page, the right page's first
    // key up; its left subtree becomes the left page's rightmost child.
    const int k = left.count();
    left.insert(k, left.child(k), parent.recno(separator), parent.key(separator));
    left.set_child(k + 1, right.child(0));
    parent.set_item(separator, right.recno(0), right.key(0));
    right.remove(0);
  }
  while (left.count() > target) {
    // Separator down to the front of the right page over the left page's
    // rightmost child, the left page's last key up.
    const int k = left.count();
    right.insert(0, left.child(k), parent.recno(separator), parent.key(separator));
    const std::uint32_t new_rightmost = left.child(k - 1);
    parent.set_item(separator, left.recno(k - 1), left.key(k - 1));
    left.remove(k - 1);
    left.set_child(k - 1, new_rightmost);
  }
}

bool NtxTree::repair_right_edge() {
  const int min_keys = store_.geometry().min_keys;
  std::uint32_t offset = store_.state().root;
  for (int depth = 0; depth < NtxPath::kMaxDepth; ++depth) {
    NtxPage page = store_.page(offset);
    if (!page) return false;
    const int k = page.count();
    const std::uint32_t rightmost = page.child(k);
    if (rightmost == 0) return true;
    NtxPage child = store_.page(rightmost);
    if (!child) return false;
    if (child.count() < min_keys && k > 0 && !balance(page, k - 1)) return false;
    offset = page.child(page.count());
  }
  return store_.corrupt("tree deeper than 64 levels");
}

}  // namespace intra
