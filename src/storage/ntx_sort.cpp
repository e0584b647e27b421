#include "storage/ntx_sort.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <random>

#include "storage/ntx_bytes.h"

namespace intra {
namespace {

constexpr std::size_t kPrefixBytes = 8;
constexpr std::size_t kRecnoBytes = 4;
// Memory per pair: its key and record number in the buffer plus its sort item.
constexpr std::size_t kPairOverhead = kRecnoBytes + 16;
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
      capacity_(std::max<std::size_t>(2, memory_budget / (order.key_size() + kPairOverhead))),
      memory_budget_(memory_budget), error_(error) {}

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
  if (recnos_.size() == capacity_ && !spill_run()) return false;
  keys_.insert(keys_.end(), key, key + key_size_);
  recnos_.push_back(recno);
  return true;
}

void NtxPairSorter::sort_buffer() {
  const std::size_t n = recnos_.size();
  order_of_.resize(n);
  for (std::size_t i = 0; i < n; ++i) order_of_[i] = {prefix_of(&keys_[i * key_size_]), static_cast<std::uint32_t>(i)};
  const unsigned char* keys = keys_.data();
  const std::size_t size = key_size_;
  const bool descending = order_.descending();
  // The buffer index breaks ties, so equal keys keep the order of adding.
  std::sort(order_of_.begin(), order_of_.end(), [=](const SortItem& a, const SortItem& b) {
    if (a.prefix != b.prefix) return a.prefix < b.prefix;
    if (size > kPrefixBytes) {
      int c = std::memcmp(keys + a.index * size + kPrefixBytes, keys + b.index * size + kPrefixBytes, size - kPrefixBytes);
      if (descending) c = -c;
      if (c != 0) return c < 0;
    }
    return a.index < b.index;
  });
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
  if (recnos_.empty()) return true;
  if (!temporary_ && !open_temporary_file()) return false;
  sort_buffer();
  const Run run{temporary_end_, recnos_.size()};
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
  for (const SortItem& item : order_of_) {
    const unsigned char* key = &keys_[item.index * key_size_];
    chunk.insert(chunk.end(), key, key + key_size_);
    unsigned char recno[kRecnoBytes];
    ntx_bytes::put_u32(recno, recnos_[item.index]);
    chunk.insert(chunk.end(), recno, recno + kRecnoBytes);
    if (chunk.size() + record_size_ > chunk.capacity() && !write_chunk()) return false;
  }
  if (!chunk.empty() && !write_chunk()) return false;
  runs_.push_back(run);
  keys_.clear();
  recnos_.clear();
  order_of_.clear();
  return true;
}

bool NtxPairSorter::finish() {
  if (failed_) return false;
  if (runs_.empty()) {
    sort_buffer();
    return true;
  }
  if (!spill_run()) return false;
  keys_ = {};
  recnos_ = {};
  order_of_ = {};
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
    if (emitted_ == order_of_.size()) return false;
    const SortItem& item = order_of_[emitted_++];
    key = &keys_[item.index * key_size_];
    recno = recnos_[item.index];
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
