#include "storage/ntx_bulk_build.h"

#include <array>
#include <cstring>

#include "storage/ntx_sort.h"

namespace intra {
namespace {
// Closed pages are written 256 at a time.
constexpr std::size_t kPagesPerWrite = 256;
constexpr std::uint64_t kLastPageOffset = 0xFFFFFC00ULL;
}  // namespace

NtxPageFiller::NtxPageFiller(File& file, std::string file_name, const NtxGeometry& geometry, TableError& error)
    : file_(file), file_name_(std::move(file_name)), geometry_(geometry), error_(error), pending_at_(kNtxBlockSize),
      next_offset_(kNtxBlockSize) {
  pending_.reserve(kPagesPerWrite * kNtxBlockSize);
}

bool NtxPageFiller::add(const unsigned char* key, std::uint32_t recno) { return push(0, 0, recno, key); }

bool NtxPageFiller::push(std::size_t level, std::uint32_t child, std::uint32_t recno, const unsigned char* key) {
  for (;; ++level) {
    if (level == levels_.size()) {
      levels_.push_back(std::make_unique<NtxPageBuffer>());
      NtxPage::format_new(levels_.back()->bytes, geometry_);
    }
    NtxPage page(levels_[level].get(), &geometry_);
    if (page.count() < geometry_.max_keys) {
      page.fill_next(child, recno, key);
      return true;
    }
    // The full page is closed over the subtree that arrived with the key;
    // the key goes up with the closed page as its child.
    std::uint32_t closed = 0;
    if (!close(level, child, closed)) return false;
    child = closed;
  }
}

bool NtxPageFiller::close(std::size_t level, std::uint32_t rightmost, std::uint32_t& offset) {
  if (next_offset_ > kLastPageOffset) {
    error_ = TableError::make(TableErrorKind::WriteError, file_name_, "index file has no room for another page");
    return false;
  }
  NtxPageBuffer& buffer = *levels_[level];
  NtxPage page(&buffer, &geometry_);
  page.set_child(page.count(), rightmost);
  offset = static_cast<std::uint32_t>(next_offset_);
  next_offset_ += kNtxBlockSize;
  pending_.insert(pending_.end(), buffer.bytes, buffer.bytes + kNtxBlockSize);
  NtxPage::format_new(buffer.bytes, geometry_);
  return pending_.size() < kPagesPerWrite * kNtxBlockSize || write_pending();
}

bool NtxPageFiller::write_pending() {
  if (pending_.empty()) return true;
  if (file_.write_at(pending_at_, pending_.data(), pending_.size()) != static_cast<long long>(pending_.size())) {
    error_ = TableError::make(TableErrorKind::WriteError, file_name_, "index pages at " + std::to_string(pending_at_),
                              dos_error_code(file_.os_error()));
    return false;
  }
  pending_at_ += pending_.size();
  pending_.clear();
  return true;
}

bool NtxPageFiller::finish(NtxBuildResult& result) {
  if (levels_.empty()) {
    levels_.push_back(std::make_unique<NtxPageBuffer>());
    NtxPage::format_new(levels_.back()->bytes, geometry_);
  }
  std::uint32_t below = 0;
  for (std::size_t level = 0; level < levels_.size(); ++level) {
    std::uint32_t closed = 0;
    if (!close(level, below, closed)) return false;
    below = closed;
  }
  if (!write_pending()) return false;
  result.root = below;
  result.end_of_file = next_offset_;
  return true;
}

bool ntx_bulk_build(FileSystem& fs, File& file, const std::string& file_name, const NtxGeometry& geometry,
                    const NtxKeyOrder& order, bool unique, const KeySource& source, const NtxBuildOptions& options,
                    NtxBuildResult& result, TableError& error) {
  const auto key_size = static_cast<std::size_t>(geometry.key_size);
  NtxPairSorter sorter(fs, file_name, order, options.memory_budget, error);
  KeyEntry entry;
  std::array<unsigned char, kNtxMaxKeySize> padded;
  while (source && source(entry)) {
    // Every key has the key size: shorter ones are padded with spaces,
    // longer ones cut.
    const std::size_t n = std::min(entry.key.size(), key_size);
    std::memcpy(padded.data(), entry.key.data(), n);
    std::memset(padded.data() + n, ' ', key_size - n);
    if (!sorter.add(padded.data(), entry.recno)) return false;
  }
  if (!sorter.finish()) return false;
  result.used_temporary_file = sorter.used_temporary_file();

  NtxPageFiller filler(file, file_name, geometry, error);
  std::array<unsigned char, kNtxMaxKeySize> previous;
  bool have_previous = false;
  const unsigned char* key = nullptr;
  std::uint32_t recno = 0;
  while (sorter.next(key, recno)) {
    if (unique) {
      if (have_previous && order.compare_stored(key, previous.data()) == 0) continue;
      std::memcpy(previous.data(), key, key_size);
      have_previous = true;
    }
    if (!filler.add(key, recno)) return false;
  }
  if (sorter.failed()) return false;
  return filler.finish(result);
}

}  // namespace intra
