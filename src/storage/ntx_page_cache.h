#pragma once
// The pages of one index kept in memory, found by offset in constant time.
//
// Buffers are allocated 32 at first and 16 at a time afterwards and never
// move, so a page view stays usable for the whole operation that fetched
// it. Pages are dropped only by trim() and clear(), which the index calls
// between operations (and between the steps of a long walk, holding no
// views then): the cache can exceed its limit by the pages one operation
// touches, and trim() brings it back under the limit, keeping changed
// pages and the recently used ones (a clock sweep).
#include <cstdint>
#include <memory>
#include <vector>

#include "storage/ntx_page.h"

namespace intra {

class NtxPageCache {
 public:
  // 32,768 pages: a bulk-built index of a million short keys fits whole.
  static constexpr std::size_t kDefaultLimit = 32768;

  explicit NtxPageCache(std::size_t limit = kDefaultLimit) : limit_(limit) {}

  NtxPageBuffer* find(std::uint32_t offset) {
    const std::size_t page = offset / kNtxBlockSize;
    if (page >= slot_of_page_.size() || slot_of_page_[page] < 0) return nullptr;
    NtxPageBuffer* buffer = used_[static_cast<std::size_t>(slot_of_page_[page])];
    buffer->recently_used = true;
    return buffer;
  }
  // A buffer registered for `offset` (which must not be cached yet); its
  // bytes are the caller's to fill.
  NtxPageBuffer* add(std::uint32_t offset);
  // Every page, changed or not.
  void clear();
  void trim();
  // The changed pages in file order.
  std::vector<NtxPageBuffer*> changed_pages() const;

  std::size_t size() const { return used_.size(); }
  std::size_t limit() const { return limit_; }
  void set_limit(std::size_t limit) { limit_ = limit; }

 private:
  NtxPageBuffer* spare_buffer();
  void drop_slot(std::size_t slot);

  std::size_t limit_;
  std::vector<std::unique_ptr<NtxPageBuffer[]>> chunks_;
  std::vector<NtxPageBuffer*> spare_;
  std::vector<NtxPageBuffer*> used_;
  std::vector<std::int32_t> slot_of_page_;  // page number -> index into used_, -1 when absent
  std::size_t hand_ = 0;
};

}  // namespace intra
