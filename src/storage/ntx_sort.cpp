#include "storage/ntx_sort.h"

#include <algorithm>
#include <array>
#include <utility>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>

#include "storage/ntx_bytes.h"

namespace intra {
namespace {

constexpr std::size_t kPrefixBytes = 8;
constexpr std::size_t kRecnoBytes = 4;
// Memory per pair besides the key bytes beyond the prefix: its sort item
// and the item's place in the scratch array of the radix sort.
constexpr std::size_t kPairOverhead = 2 * 16;
constexpr int kRadixBits = 8;
constexpr std::size_t kBuckets = std::size_t{1} << kRadixBits;
constexpr std::size_t kIoChunk = std::size_t{1} << 20;
constexpr int kNameAttempts = 16;

std::string directory_of(const std::string& file_name) {
  const std::size_t slash = file_name.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : file_name.substr(0, slash + 1);
}

}  // namespace

// Reads one sorted run of the temporary file through a buffer.
class NtxPairSorter::RunReader {
 public:
  RunReader(File& file, Run run, std::size_t record_size, std::size_t buffer_records)
      : file_(file), next_offset_(run.offset), left_in_file_(run.count), record_size_(record_size),
        buffer_(std::max<std::size_t>(1, buffer_records) * record_size) {}

  // Moves to the next record; false at the end of the run or on a short read
  // (`failed` set then).
  bool advance(bool& failed) {
    position_ += record_size_;
    if (position_ < filled_) return true;
    if (left_in_file_ == 0) return false;
    const std::uint64_t records = std::min<std::uint64_t>(left_in_file_, buffer_.size() / record_size_);
    const auto bytes = static_cast<std::size_t>(records * record_size_);
    const long long got = file_.read_at(next_offset_, buffer_.data(), bytes);
    if (got != static_cast<long long>(bytes)) {
      failed = true;
      return false;
    }
    next_offset_ += bytes;
    left_in_file_ -= records;
    filled_ = bytes;
    position_ = 0;
    return true;
  }
  const unsigned char* key() const { return buffer_.data() + position_; }
  std::uint32_t recno() const { return ntx_bytes::u32(buffer_.data() + position_ + record_size_ - kRecnoBytes); }

 private:
  File& file_;
  std::uint64_t next_offset_;
  std::uint64_t left_in_file_;
  std::size_t record_size_;
  std::vector<unsigned char> buffer_;
  std::size_t filled_ = 0;
  std::size_t position_ = 0;
};

NtxPairSorter::NtxPairSorter(FileSystem& fs, std::string index_file_name, const NtxKeyOrder& order,
                             std::size_t memory_budget, TableError& error)
    : fs_(fs), index_file_name_(std::move(index_file_name)), order_(order), key_size_(order.key_size()),
      record_size_(order.key_size() + kRecnoBytes),
      // Buffer positions are 32-bit.
      capacity_(std::clamp<std::size_t>(
          memory_budget / (order.key_size() - std::min(order.key_size(), kPrefixBytes) + kPairOverhead), 2,
          std::numeric_limits<std::uint32_t>::max())),
      memory_budget_(memory_budget), error_(error), tail_size_(key_size_ - std::min(key_size_, kPrefixBytes)),
      key_buffer_(key_size_) {}

NtxPairSorter::~NtxPairSorter() {
  readers_.clear();
  if (temporary_) {
    temporary_.reset();
    fs_.remove(temporary_name_);
  }
}

bool NtxPairSorter::fail(const std::string& detail, int os_code) {
  failed_ = true;
  error_ = TableError::make(TableErrorKind::IndexCreateError, index_file_name_, detail, os_code);
  return false;
}

std::uint64_t NtxPairSorter::prefix_of(const unsigned char* key) const {
  std::uint64_t prefix = 0;
  const std::size_t n = std::min(key_size_, kPrefixBytes);
  for (std::size_t i = 0; i < n; ++i) prefix = (prefix << 8) | key[i];
  prefix <<= 8 * (kPrefixBytes - n);
  return order_.descending() ? ~prefix : prefix;
}

bool NtxPairSorter::add(const unsigned char* key, std::uint32_t recno) {
  if (failed_) return false;
  if (items_.size() == capacity_ && !spill_run()) return false;
  items_.push_back({prefix_of(key), static_cast<std::uint32_t>(items_.size()), recno});
  if (tail_size_ > 0) tails_.insert(tails_.end(), key + kPrefixBytes, key + key_size_);
  return true;
}

// Least significant byte first, each pass stable, so items of equal
// prefixes stay in the order of adding. A byte that is the same in every
// item (the padding of short keys, a constant column) costs no pass.
void NtxPairSorter::sort_buffer() {
  const std::size_t n = items_.size();
  const std::size_t significant = std::min(key_size_, kPrefixBytes);
  std::vector<std::array<std::size_t, kBuckets>> counts(significant);
  for (auto& c : counts) c.fill(0);
  for (const SortItem& item : items_)
    for (std::size_t b = 0; b < significant; ++b) ++counts[b][(item.prefix >> (56 - 8 * b)) & (kBuckets - 1)];
  scratch_.resize(n);
  for (std::size_t b = significant; b-- > 0;) {
    auto& count = counts[b];
    if (std::find(count.begin(), count.end(), n) != count.end()) continue;
    std::size_t start = 0;
    for (std::size_t& c : count) start += std::exchange(c, start);
    const int shift = 56 - 8 * static_cast<int>(b);
    for (const SortItem& item : items_) scratch_[count[(item.prefix >> shift) & (kBuckets - 1)]++] = item;
    items_.swap(scratch_);
  }
  scratch_ = {};
  if (tail_size_ > 0) sort_equal_prefixes();
}

// Keys longer than the prefix: runs of equal prefixes are ordered by the
// rest of the key, ties by the order of adding.
void NtxPairSorter::sort_equal_prefixes() {
  const unsigned char* tails = tails_.data();
  const std::size_t size = tail_size_;
  const bool descending = order_.descending();
  auto before = [=](const SortItem& a, const SortItem& b) {
    int c = std::memcmp(tails + a.index * size, tails + b.index * size, size);
    if (descending) c = -c;
    return c != 0 ? c < 0 : a.index < b.index;
  };
  for (auto run = items_.begin(); run != items_.end();) {
    auto end = run + 1;
    while (end != items_.end() && end->prefix == run->prefix) ++end;
    if (end - run > 1) std::sort(run, end, before);
    run = end;
  }
}

const unsigned char* NtxPairSorter::key_of(const SortItem& item) {
  const std::uint64_t prefix = order_.descending() ? ~item.prefix : item.prefix;
  const std::size_t n = std::min(key_size_, kPrefixBytes);
  for (std::size_t i = 0; i < n; ++i) key_buffer_[i] = static_cast<unsigned char>(prefix >> (56 - 8 * i));
  if (tail_size_ > 0) std::memcpy(key_buffer_.data() + n, &tails_[item.index * tail_size_], tail_size_);
  return key_buffer_.data();
}

bool NtxPairSorter::open_temporary_file() {
  std::random_device entropy;
  const std::string directory = directory_of(index_file_name_);
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    char name[16];
    std::snprintf(name, sizeof name, "NTX%05X.TMP", static_cast<unsigned>(entropy() & 0xFFFFF));
    const std::string candidate = directory + name;
    if (fs_.exists(candidate)) continue;
    temporary_ = fs_.open(candidate, OpenMode::CreateTruncate);
    if (!temporary_) return fail("cannot create the sort file " + candidate, dos_error_code(fs_.last_error()));
    temporary_name_ = candidate;
    return true;
  }
  return fail("no free name for a sort file", 0);
}

bool NtxPairSorter::spill_run() {
  if (items_.empty()) return true;
  if (!temporary_ && !open_temporary_file()) return false;
  sort_buffer();
  const Run run{temporary_end_, items_.size()};
  std::vector<unsigned char> chunk;
  chunk.reserve(std::max(kIoChunk / record_size_, std::size_t{1}) * record_size_);
  auto write_chunk = [&]() {
    const long long written = temporary_->write_at(temporary_end_, chunk.data(), chunk.size());
    if (written != static_cast<long long>(chunk.size()))
      return fail("cannot write the sort file " + temporary_name_, dos_error_code(temporary_->os_error()));
    temporary_end_ += chunk.size();
    chunk.clear();
    return true;
  };
  for (const SortItem& item : items_) {
    const unsigned char* key = key_of(item);
    chunk.insert(chunk.end(), key, key + key_size_);
    unsigned char recno[kRecnoBytes];
    ntx_bytes::put_u32(recno, item.recno);
    chunk.insert(chunk.end(), recno, recno + kRecnoBytes);
    if (chunk.size() + record_size_ > chunk.capacity() && !write_chunk()) return false;
  }
  if (!chunk.empty() && !write_chunk()) return false;
  runs_.push_back(run);
  items_.clear();
  tails_.clear();
  return true;
}

bool NtxPairSorter::finish() {
  if (failed_) return false;
  if (runs_.empty()) {
    sort_buffer();
    return true;
  }
  if (!spill_run()) return false;
  items_ = {};
  tails_ = {};
  return start_merge();
}

bool NtxPairSorter::start_merge() {
  merging_ = true;
  const std::size_t per_run_bytes = std::clamp<std::size_t>(memory_budget_ / 2 / runs_.size(), record_size_, kIoChunk);
  for (const Run& run : runs_)
    readers_.push_back(std::make_unique<RunReader>(*temporary_, run, record_size_, per_run_bytes / record_size_));
  for (std::size_t r = 0; r < readers_.size(); ++r) {
    // A fresh reader stands before its first record.
    bool failed = false;
    if (readers_[r]->advance(failed)) heap_.push_back(static_cast<int>(r));
    if (failed) return fail("cannot read the sort file " + temporary_name_, dos_error_code(temporary_->os_error()));
  }
  std::make_heap(heap_.begin(), heap_.end(), [this](int a, int b) {
    const int c = order_.compare_stored(readers_[a]->key(), readers_[b]->key());
    return c != 0 ? c > 0 : a > b;  // earlier runs hold earlier records
  });
  return true;
}

bool NtxPairSorter::next(const unsigned char*& key, std::uint32_t& recno) {
  if (failed_) return false;
  if (!merging_) {
    if (emitted_ == items_.size()) return false;
    const SortItem& item = items_[emitted_++];
    key = key_of(item);
    recno = item.recno;
    return true;
  }
  auto later = [this](int a, int b) {
    const int c = order_.compare_stored(readers_[a]->key(), readers_[b]->key());
    return c != 0 ? c > 0 : a > b;
  };
  if (last_run_ >= 0) {
    bool failed = false;
    if (readers_[last_run_]->advance(failed)) {
      heap_.push_back(last_run_);
      std::push_heap(heap_.begin(), heap_.end(), later);
    }
    last_run_ = -1;
    if (failed) return fail("cannot read the sort file " + temporary_name_, dos_error_code(temporary_->os_error()));
  }
  if (heap_.empty()) return false;
  std::pop_heap(heap_.begin(), heap_.end(), later);
  last_run_ = heap_.back();
  heap_.pop_back();
  key = readers_[last_run_]->key();
  recno = readers_[last_run_]->recno();
  return true;
}

}  // namespace intra
