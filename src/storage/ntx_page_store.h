#pragma once
// The pages of one open index file: reading them through the cache,
// allocating and freeing them through the free list, and writing back the
// changed ones. It keeps the first 12 header bytes as this station knows
// them (root, first free page, version) and tells whether root or free
// list moved since the header was last read or written.
//
// Free list: a freed page gets key count 0 and the child field of its
// slot-table entry 0 pointing to the previous first free page. A page is
// allocated from the head of the list (that child field reset to 0; the
// rest of the page stays as it was), else appended at the end of the file
// as a new page.
//
// Every page entering memory is checked (offset a non-zero multiple of
// 1024, 1024 bytes readable, key count at most m, slot table a permutation
// of the slots); a page failing that is Corruption, so the tree code can
// trust every slot offset it reads.
#include <cstdint>
#include <string>

#include "storage/file_system.h"
#include "storage/ntx_header.h"
#include "storage/ntx_page.h"
#include "storage/ntx_page_cache.h"
#include "storage/table_error.h"

namespace intra {

class NtxPageStore {
 public:
  // Errors go to `error`, which outlives the store.
  NtxPageStore(File& file, std::string file_name, const NtxGeometry& geometry, TableError& error);

  const NtxGeometry& geometry() const { return geometry_; }

  // Root, free list and version as this station works with them.
  NtxHeaderState& state() { return state_; }
  // As the file holds them to this station's knowledge.
  const NtxHeaderState& stored_state() const { return stored_; }
  bool root_or_free_list_moved() const {
    return state_.root != stored_.root || state_.free_page != stored_.free_page;
  }

  // Reads the first 12 header bytes (after a lock is taken). When version
  // or root differ from the stored state every cached page is discarded
  // and `discarded` is set; the state adopts the file's values, the first
  // free page always.
  bool refresh_state(bool& discarded);
  // Writes the 12 header bytes with the version incremented.
  bool write_state();
  // Takes `state` as what the file holds (after a full header write).
  void adopt_stored(const NtxHeaderState& state) { stored_ = state_ = state; }

  NtxPage page(std::uint32_t offset);
  NtxPage allocate();
  bool release(NtxPage page);

  // Writes the changed pages in file order; `written` tells whether any was.
  bool write_changed_pages(bool& written);
  // Drops every cached page, changed ones included (a failed operation's
  // changes never reach the file).
  void discard() { cache_.clear(); }
  void trim() { cache_.trim(); }
  NtxPageCache& cache() { return cache_; }

  // The end of the file is looked up again at the next append (another
  // station may have appended pages since).
  void forget_end_of_file() { end_of_file_known_ = false; }
  void set_end_of_file(std::uint64_t end) {
    end_of_file_ = end;
    end_of_file_known_ = true;
  }
  // An upper bound on the items the file can hold: a walk taking more
  // steps is going round in a damaged tree.
  bool item_bound(std::uint64_t& bound);
  bool file_size(std::uint64_t& size);

  const TableError& error() const { return error_; }
  bool corrupt(const std::string& detail);
  bool os_failure(TableErrorKind kind, const std::string& detail);

 private:
  File& file_;
  std::string file_name_;
  NtxGeometry geometry_;
  TableError& error_;
  NtxPageCache cache_;
  NtxHeaderState state_;
  NtxHeaderState stored_;
  std::uint64_t end_of_file_ = 0;
  bool end_of_file_known_ = false;
};

}  // namespace intra
