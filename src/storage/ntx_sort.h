#pragma once
// Sorting the (key, record number) pairs of a bulk build in index order;
// pairs with equal keys keep the order in which they were added (record
// order). Pairs are sorted in memory up to a budget; beyond it, sorted runs
// go to a temporary file beside the index and are merged at the end. The
// temporary file is removed with the sorter. Its failures are
// IndexCreateError.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "storage/file_system.h"
#include "storage/ntx_key_order.h"
#include "storage/table_error.h"

namespace intra {

class NtxPairSorter {
 public:
  // `index_file_name` names the index being built: the temporary file goes
  // into its directory and errors name it.
  NtxPairSorter(FileSystem& fs, std::string index_file_name, const NtxKeyOrder& order, std::size_t memory_budget,
                TableError& error);
  ~NtxPairSorter();
  NtxPairSorter(const NtxPairSorter&) = delete;
  NtxPairSorter& operator=(const NtxPairSorter&) = delete;

  // `key` has the key size.
  bool add(const unsigned char* key, std::uint32_t recno);
  bool finish();
  // The next pair in order; false at the end or on an error (error set).
  // `key` stays valid until the next call.
  bool next(const unsigned char*& key, std::uint32_t& recno);

  bool used_temporary_file() const { return !runs_.empty(); }
  bool failed() const { return failed_; }

 private:
  // The first 8 key bytes travel with the item, so sorting and reading
  // back keys of up to 8 bytes never touch the rest of the buffer.
  struct SortItem {
    std::uint64_t prefix;  // the first 8 key bytes, big-endian, inverted when descending
    std::uint32_t index;   // position in the buffer, which is the order of adding
    std::uint32_t recno;
  };
  struct Run {
    std::uint64_t offset;
    std::uint64_t count;
  };
  class RunReader;

  void sort_buffer();
  void sort_equal_prefixes();
  const unsigned char* key_of(const SortItem& item);
  bool spill_run();
  bool open_temporary_file();
  bool start_merge();
  bool fail(const std::string& detail, int os_code);
  std::uint64_t prefix_of(const unsigned char* key) const;

  FileSystem& fs_;
  std::string index_file_name_;
  NtxKeyOrder order_;
  std::size_t key_size_;
  std::size_t record_size_;  // key + recno in the temporary file
  std::size_t capacity_;     // pairs held in memory before a run is written
  std::size_t memory_budget_;
  TableError& error_;

  std::size_t tail_size_;  // key bytes beyond the prefix
  std::vector<SortItem> items_;
  std::vector<SortItem> scratch_;
  std::vector<unsigned char> tails_;
  std::vector<unsigned char> key_buffer_;
  std::size_t emitted_ = 0;

  std::string temporary_name_;
  std::unique_ptr<File> temporary_;
  std::uint64_t temporary_end_ = 0;
  std::vector<Run> runs_;
  std::vector<std::unique_ptr<RunReader>> readers_;
  std::vector<int> heap_;
  int last_run_ = -1;
  bool merging_ = false;
  bool failed_ = false;
};

}  // namespace intra
