#include "storage/ntx_page_store.h"

#include <algorithm>
#include <array>
#include <utility>

namespace intra {
namespace {
constexpr std::uint64_t kBlock = kNtxBlockSize;
// Page offsets are 32-bit: the last page a file can hold starts here.
constexpr std::uint64_t kLastPageOffset = 0xFFFFFC00ULL;

bool aligned_page_offset(std::uint32_t offset) { return offset != 0 && offset % kBlock == 0; }
}  // namespace

NtxPageStore::NtxPageStore(File& file, std::string file_name, const NtxGeometry& geometry, TableError& error)
    : file_(file), file_name_(std::move(file_name)), geometry_(geometry), error_(error) {}

bool NtxPageStore::corrupt(const std::string& detail) {
  error_ = TableError::make(TableErrorKind::Corruption, file_name_, detail);
  return false;
}

bool NtxPageStore::os_failure(TableErrorKind kind, const std::string& detail) {
  error_ = TableError::make(kind, file_name_, detail, dos_error_code(file_.os_error()));
  return false;
}

bool NtxPageStore::refresh_state(bool& discarded) {
  discarded = false;
  NtxShortHeaderBlock head{};
  const long long got = file_.read_at(0, head.data(), head.size());
  if (got < 0) return os_failure(TableErrorKind::ReadError, "index header");
  if (static_cast<std::size_t>(got) != head.size()) return corrupt("index header cut short");
  const NtxHeaderState now = decode_ntx_header_state(head.data());
  if (now.version != stored_.version || now.root != stored_.root) {
    cache_.clear();
    discarded = true;
  }
  stored_ = state_ = now;
  return true;
}

bool NtxPageStore::write_state() {
  state_.version = static_cast<std::uint16_t>(stored_.version + 1);
  const NtxShortHeaderBlock head = encode_ntx_header_state(state_);
  if (file_.write_at(0, head.data(), head.size()) != static_cast<long long>(head.size()))
    return os_failure(TableErrorKind::WriteError, "index header");
  stored_ = state_;
  return true;
}

NtxPage NtxPageStore::page(std::uint32_t offset) {
  if (NtxPageBuffer* cached = cache_.find(offset)) return NtxPage(cached, &geometry_);
  if (!aligned_page_offset(offset)) {
    corrupt("page offset " + std::to_string(offset) + " is not a page");
    return {};
  }
  std::array<unsigned char, kNtxBlockSize> bytes;
  const long long got = file_.read_at(offset, bytes.data(), bytes.size());
  if (got < 0) {
    os_failure(TableErrorKind::ReadError, "page at " + std::to_string(offset));
    return {};
  }
  if (static_cast<std::size_t>(got) != bytes.size()) {
    corrupt("page at " + std::to_string(offset) + (got == 0 ? " beyond the end of the file" : " cut short"));
    return {};
  }
  const std::string problem = NtxPage::validate(bytes.data(), geometry_);
  if (!problem.empty()) {
    corrupt("page at " + std::to_string(offset) + ": " + problem);
    return {};
  }
  NtxPageBuffer* buffer = cache_.add(offset);
  std::copy(bytes.begin(), bytes.end(), buffer->bytes);
  return NtxPage(buffer, &geometry_);
}

NtxPage NtxPageStore::allocate() {
  if (state_.free_page != 0) {
    const std::uint32_t head = state_.free_page;
    NtxPage reused = page(head);
    if (!reused) return {};
    const std::uint32_t next = reused.child(0);
    if (reused.count() != 0) {
      corrupt("free page at " + std::to_string(head) + " holds keys");
      return {};
    }
    if (next == head || next % kBlock != 0) {
      corrupt("free list link " + std::to_string(next) + " at " + std::to_string(head));
      return {};
    }
    reused.set_child(0, 0);
    state_.free_page = next;
    return reused;
  }
  if (!end_of_file_known_) {
    std::uint64_t size = 0;
    if (!file_size(size)) return {};
    set_end_of_file(std::max<std::uint64_t>(kBlock, (size + kBlock - 1) / kBlock * kBlock));
  }
  if (end_of_file_ > kLastPageOffset) {
    error_ = TableError::make(TableErrorKind::WriteError, file_name_, "index file has no room for another page");
    return {};
  }
  const auto offset = static_cast<std::uint32_t>(end_of_file_);
  end_of_file_ += kBlock;
  NtxPageBuffer* buffer = cache_.find(offset);
  if (buffer == nullptr) buffer = cache_.add(offset);
  NtxPage::format_new(buffer->bytes, geometry_);
  buffer->changed = true;
  return NtxPage(buffer, &geometry_);
}

bool NtxPageStore::release(NtxPage freed) {
  freed.set_count(0);
  freed.set_child(0, state_.free_page);
  state_.free_page = freed.offset();
  return true;
}

bool NtxPageStore::write_changed_pages(bool& written) {
  written = false;
  for (NtxPageBuffer* buffer : cache_.changed_pages()) {
    written = true;
    if (file_.write_at(buffer->offset, buffer->bytes, kNtxBlockSize) != static_cast<long long>(kNtxBlockSize))
      return os_failure(TableErrorKind::WriteError, "page at " + std::to_string(buffer->offset));
    buffer->changed = false;
  }
  return true;
}

bool NtxPageStore::file_size(std::uint64_t& size) {
  const std::optional<std::uint64_t> got = file_.size();
  if (!got) return os_failure(TableErrorKind::ReadError, "index file size");
  size = *got;
  return true;
}

bool NtxPageStore::item_bound(std::uint64_t& bound) {
  std::uint64_t size = 0;
  if (!file_size(size)) return false;
  if (end_of_file_known_) size = std::max(size, end_of_file_);
  bound = (size / kBlock + 1) * static_cast<std::uint64_t>(geometry_.max_keys + 1);
  return true;
}

}  // namespace intra
