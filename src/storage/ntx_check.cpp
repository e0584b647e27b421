#include "storage/ntx_check.h"

#include <array>
#include <cstring>

#include "storage/ntx_path.h"

namespace intra {
namespace {

constexpr std::size_t kMostProblems = 100;

class Checker {
 public:
  Checker(NtxPageStore& store, const NtxHeader& header, const NtxKeyOrder& order, std::uint64_t file_size)
      : store_(store), header_(header), order_(order), file_size_(file_size),
        in_tree_(file_size / kNtxBlockSize + 1), on_free_list_(file_size / kNtxBlockSize + 1) {}

  std::vector<std::string> run() {
    check_header();
    const std::uint32_t root = store_.state().root;
    if (is_page_in_file(root)) walk_tree(root);
    check_free_list();
    if (problems_.size() > kMostProblems) {
      problems_.resize(kMostProblems);
      problems_.push_back("... more problems");
    }
    return problems_;
  }

 private:
  struct Frame {
    std::uint32_t offset;
    int depth;
    int entry;         // the entry whose child or key comes next
    bool child_done;   // the child of `entry` was visited
  };

  void report(std::string problem) {
    if (problems_.size() <= kMostProblems) problems_.push_back(std::move(problem));
  }

  bool is_page_in_file(std::uint64_t offset) const {
    return offset != 0 && offset % kNtxBlockSize == 0 && offset + kNtxBlockSize <= file_size_;
  }

  void check_header() {
    const NtxGeometry& g = store_.geometry();
    if (file_size_ % kNtxBlockSize != 0) report("file size " + std::to_string(file_size_) + " is not a multiple of 1024");
    const std::uint32_t root = store_.state().root;
    if (!is_page_in_file(root)) report("root " + std::to_string(root) + " is not a page of the file");
    const std::uint32_t free_page = store_.state().free_page;
    if (free_page != 0 && !is_page_in_file(free_page))
      report("first free page " + std::to_string(free_page) + " is not a page of the file");
    if (g.max_keys != ntx_max_keys_for(g.key_size))
      report("maximum keys " + std::to_string(g.max_keys) + ", key size " + std::to_string(g.key_size) + " gives " +
             std::to_string(ntx_max_keys_for(g.key_size)));
    if (header_.half_page != g.max_keys / 2) report("half page " + std::to_string(header_.half_page));
  }

  // Checks a page on entering it; false when the walk must not go into it.
  bool enter(std::uint32_t offset, int depth, bool is_root) {
    const std::string where = "page at " + std::to_string(offset);
    if (!is_page_in_file(offset)) {
      report(where + " is not a page of the file");
      return false;
    }
    const std::size_t number = offset / kNtxBlockSize;
    if (in_tree_[number]) {
      report(where + " is reachable twice");
      return false;
    }
    in_tree_[number] = true;
    if (depth >= NtxPath::kMaxDepth) {
      report(where + " lies deeper than 64 levels");
      return false;
    }
    store_.trim();
    NtxPage page = store_.page(offset);
    if (!page) {
      report(store_.error().detail);
      return false;
    }
    const int k = page.count();
    int leaf_entries = 0;
    for (int e = 0; e <= k; ++e) leaf_entries += page.child(e) == 0 ? 1 : 0;
    if (leaf_entries != 0 && leaf_entries != k + 1) report(where + " mixes leaf and inner entries");
    if (leaf_entries == k + 1) {
      if (leaf_depth_ < 0) leaf_depth_ = depth;
      if (leaf_depth_ != depth)
        report(where + ": leaf at depth " + std::to_string(depth) + ", others at " + std::to_string(leaf_depth_));
    }
    if (!is_root && k < store_.geometry().min_keys)
      report(where + " holds " + std::to_string(k) + " keys, fewer than " + std::to_string(store_.geometry().min_keys));
    if (is_root && k == 0 && page.child(0) != 0) report(where + ": root without keys over a child");
    return true;
  }

  void check_order(const NtxPage& page, int entry) {
    const unsigned char* key = page.key(entry);
    if (have_previous_) {
      const int c = order_.compare_stored(previous_.data(), key);
      const std::string where = "page at " + std::to_string(page.offset()) + " key " + std::to_string(entry);
      if (c > 0) report(where + " out of order");
      if (c == 0 && header_.unique) report(where + " repeats a key of a unique index");
    }
    std::memcpy(previous_.data(), key, order_.key_size());
    have_previous_ = true;
  }

  void walk_tree(std::uint32_t root) {
    std::vector<Frame> stack;
    if (enter(root, 0, true)) stack.push_back({root, 0, 0, false});
    while (!stack.empty()) {
      Frame& top = stack.back();
      NtxPage page = store_.page(top.offset);
      if (!page) return;
      const int k = page.count();
      if (top.entry > k) {
        stack.pop_back();
        continue;
      }
      if (!top.child_done) {
        top.child_done = true;
        const std::uint32_t child = page.child(top.entry);
        const int depth = top.depth + 1;
        if (child != 0 && enter(child, depth, false)) stack.push_back({child, depth, 0, false});
        continue;
      }
      if (top.entry < k) check_order(page, top.entry);
      ++top.entry;
      top.child_done = false;
    }
  }

  void check_free_list() {
    std::uint32_t offset = store_.state().free_page;
    while (offset != 0) {
      const std::string where = "free page at " + std::to_string(offset);
      if (!is_page_in_file(offset)) {
        report(where + " is not a page of the file");
        return;
      }
      const std::size_t number = offset / kNtxBlockSize;
      if (on_free_list_[number]) {
        report(where + " closes a cycle in the free list");
        return;
      }
      on_free_list_[number] = true;
      if (in_tree_[number]) report(where + " is also in the tree");
      store_.trim();
      NtxPage page = store_.page(offset);
      if (!page) {
        report(store_.error().detail);
        return;
      }
      if (page.count() != 0) report(where + " holds keys");
      offset = page.child(0);
    }
  }

  NtxPageStore& store_;
  const NtxHeader& header_;
  NtxKeyOrder order_;
  std::uint64_t file_size_;
  std::vector<bool> in_tree_;
  std::vector<bool> on_free_list_;
  int leaf_depth_ = -1;
  std::array<unsigned char, kNtxMaxKeySize> previous_{};
  bool have_previous_ = false;
  std::vector<std::string> problems_;
};

}  // namespace

std::vector<std::string> ntx_check(NtxPageStore& store, const NtxHeader& header, const NtxKeyOrder& order,
                                   std::uint64_t file_size) {
  return Checker(store, header, order, file_size).run();
}

}  // namespace intra
