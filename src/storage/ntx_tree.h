#pragma once
// The B-tree of an index over its page store: search, stepping, insertion
// with page splits, deletion with merging and redistribution, and the
// right-edge repair of a bulk build. Keys are byte strings of the key size
// (search keys may be shorter); equal keys keep the order in which they
// were inserted.
//
// Invariants kept by every change (and relied on by check()): every page
// but the root holds at least m div 2 keys, all leaves are at the same
// depth, keys ascend (descend for a descending index) through the tree in
// order.
//
// Failures (damaged pages, read and write errors) set the store's error and
// make the call return false; the caller then discards the cached pages,
// so a failed change never reaches the file.
#include <cstdint>
#include <string_view>

#include "storage/ntx_key_order.h"
#include "storage/ntx_page_store.h"
#include "storage/ntx_path.h"

namespace intra {

class NtxTree {
 public:
  NtxTree(NtxPageStore& store, const NtxKeyOrder& order, bool unique) : store_(store), order_(order), unique_(unique) {}

  enum class Bound {
    FirstNotLess,  // first key >= the search key over its length
    FirstGreater,  // first key > the search key (after all equal keys)
  };

  // Root to leaf, recording at each level the first key meeting `bound`;
  // the path is not settled (its leaf position may be the key count).
  bool descend(std::string_view key, Bound bound, NtxPath& path);
  bool settle_forward(NtxPath& path);
  bool settle_backward(NtxPath& path);

  bool first(NtxPath& path);
  bool last(NtxPath& path);
  // Steps of a settled path; at either end the path becomes empty.
  bool next(NtxPath& path);
  bool prev(NtxPath& path);

  // The page holding a settled path's current item (path not empty).
  NtxPage current_page(const NtxPath& path) { return store_.page(path.back().page); }

  // Settles `path` on the item key/recno; `found` false (path empty) when
  // the keys equal to `key` end first. `key` has the full key size.
  bool find(std::string_view key, std::uint32_t recno, NtxPath& path, bool& found);

  // `added` is false when a unique index already holds an equal key.
  bool insert(std::string_view key, std::uint32_t recno, bool& added);
  bool remove(std::string_view key, std::uint32_t recno, bool& found);

  // Underflow repair between the children of `parent` left and right of
  // key `separator`: merged into the left page when together they hold
  // fewer than m keys, else redistributed through the separator so that
  // the left page ends with (left + right + 1) div 2 keys.
  bool balance(NtxPage parent, int separator);

  // After a bulk build: down the right edge from the root, every page whose
  // rightmost child holds fewer than m div 2 keys is balanced with that
  // child's left sibling.
  bool repair_right_edge();

 private:
  int lower_position(const NtxPage& page, std::string_view key, Bound bound) const;
  bool rebalance_upwards(NtxPath& path);
  bool collapse_root();
  void merge(NtxPage parent, int separator, NtxPage left, NtxPage right);
  void redistribute(NtxPage parent, int separator, NtxPage left, NtxPage right);

  NtxPageStore& store_;
  NtxKeyOrder order_;
  bool unique_;
};

}  // namespace intra
