#include "storage/ntx_page_cache.h"

#include <algorithm>

namespace intra {
namespace {
constexpr std::size_t kFirstChunk = 32;
constexpr std::size_t kLaterChunk = 16;
}  // namespace

NtxPageBuffer* NtxPageCache::spare_buffer() {
  if (spare_.empty()) {
    const std::size_t n = chunks_.empty() ? kFirstChunk : kLaterChunk;
    chunks_.push_back(std::make_unique<NtxPageBuffer[]>(n));
    for (std::size_t i = n; i-- > 0;) spare_.push_back(&chunks_.back()[i]);
  }
  NtxPageBuffer* buffer = spare_.back();
  spare_.pop_back();
  return buffer;
}

NtxPageBuffer* NtxPageCache::add(std::uint32_t offset) {
  NtxPageBuffer* buffer = spare_buffer();
  buffer->offset = offset;
  buffer->changed = false;
  buffer->recently_used = true;
  const std::size_t page = offset / kNtxBlockSize;
  if (page >= slot_of_page_.size()) slot_of_page_.resize(page + 1, -1);
  slot_of_page_[page] = static_cast<std::int32_t>(used_.size());
  used_.push_back(buffer);
  return buffer;
}

void NtxPageCache::drop_slot(std::size_t slot) {
  NtxPageBuffer* gone = used_[slot];
  slot_of_page_[gone->offset / kNtxBlockSize] = -1;
  if (slot + 1 != used_.size()) {
    used_[slot] = used_.back();
    slot_of_page_[used_[slot]->offset / kNtxBlockSize] = static_cast<std::int32_t>(slot);
  }
  used_.pop_back();
  spare_.push_back(gone);
}

void NtxPageCache::clear() {
  for (NtxPageBuffer* buffer : used_) spare_.push_back(buffer);
  used_.clear();
  slot_of_page_.clear();
  hand_ = 0;
}

void NtxPageCache::trim() {
  // Two sweeps clear every recently-used mark, so the loop ends even when
  // only changed pages are left.
  std::size_t budget = 2 * used_.size() + 1;
  while (used_.size() > limit_ && budget-- > 0) {
    if (hand_ >= used_.size()) hand_ = 0;
    NtxPageBuffer* buffer = used_[hand_];
    if (buffer->recently_used) {
      buffer->recently_used = false;
      ++hand_;
    } else if (buffer->changed) {
      ++hand_;
    } else {
      drop_slot(hand_);  // the last page moved into this slot: look at it next
    }
  }
}

std::vector<NtxPageBuffer*> NtxPageCache::changed_pages() const {
  std::vector<NtxPageBuffer*> changed;
  for (NtxPageBuffer* buffer : used_)
    if (buffer->changed) changed.push_back(buffer);
  std::sort(changed.begin(), changed.end(), [](const NtxPageBuffer* a, const NtxPageBuffer* b) { return a->offset < b->offset; });
  return changed;
}

}  // namespace intra
