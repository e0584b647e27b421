#pragma once
// Bulk building of an index tree from the keys of all records.
//
// The pairs are sorted by key (equal keys in record order; a unique index
// keeps the first of equal keys only) and the pages are filled left to
// right: a key goes into the current leaf while it holds fewer than m keys;
// when the leaf is full it is closed and the key goes up into the current
// page of the level above, with the closed leaf as its child. A full upper
// page is closed the same way: the page closed below becomes its rightmost
// child and the key goes one level further up. At the end the last page of
// each level, from the leaves upwards, takes the page closed below it as
// its rightmost child and is closed; the topmost is the root.
//
// A page gets its offset when it is closed: pages follow each other from
// 1024 on in the order they are closed, so the file is written front to
// back in large writes. With no keys at all the one empty leaf at 1024 is
// the root.
//
// The last pages of the levels can be short; the caller repairs them
// through NtxTree::repair_right_edge() once the pages are on file.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "storage/file_system.h"
#include "storage/ntx_key_entry.h"
#include "storage/ntx_key_order.h"
#include "storage/ntx_page.h"
#include "storage/table_error.h"

namespace intra {

struct NtxBuildOptions {
  // Pairs sorted in memory before sorted runs go to a temporary file.
  std::size_t memory_budget = std::size_t{256} << 20;
};

struct NtxBuildResult {
  std::uint32_t root = 0;
  std::uint64_t end_of_file = 0;
  bool used_temporary_file = false;
};

// Writes the pages of the tree over the pairs of `source` from offset 1024
// on (the file holds its header only). Failures: WriteError for the index
// file, IndexCreateError for the temporary sort file.
bool ntx_bulk_build(FileSystem& fs, File& file, const std::string& file_name, const NtxGeometry& geometry,
                    const NtxKeyOrder& order, bool unique, const KeySource& source, const NtxBuildOptions& options,
                    NtxBuildResult& result, TableError& error);

// The page filling of a bulk build, fed with pairs in index order.
class NtxPageFiller {
 public:
  NtxPageFiller(File& file, std::string file_name, const NtxGeometry& geometry, TableError& error);

  bool add(const unsigned char* key, std::uint32_t recno);
  bool finish(NtxBuildResult& result);

 private:
  bool push(std::size_t level, std::uint32_t child, std::uint32_t recno, const unsigned char* key);
  bool close(std::size_t level, std::uint32_t rightmost, std::uint32_t& offset);
  bool write_pending();

  File& file_;
  std::string file_name_;
  NtxGeometry geometry_;
  TableError& error_;
  std::vector<std::unique_ptr<NtxPageBuffer>> levels_;  // the page being filled at each level, leaves first
  std::vector<unsigned char> pending_;                  // closed pages not yet written, from pending_at_ on
  std::uint64_t pending_at_;
  std::uint64_t next_offset_;
};

}  // namespace intra
