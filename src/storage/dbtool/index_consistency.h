#pragma once
// Whether an index holds exactly the entries its table gives it: one entry
// (key, record number) for every record that passes the index's condition,
// deleted records included, under the key the record has now; a unique
// index holds one record of each key instead of all of them. Beside the
// tree's own invariants (NtxIndex::check) this finds what only the table
// can tell: keys that went stale because a record was written without its
// indexes, lost or doubled entries, entries for records that do not exist.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "storage/index_list.h"
#include "storage/table.h"

namespace intra::dbtool {

// The first problems in full and a count of the rest, so that a badly
// damaged index of a large table gives a report one can read.
class ProblemList {
 public:
  explicit ProblemList(std::size_t shown_at_most) : shown_at_most_(shown_at_most) {}
  void add(std::string problem);
  const std::vector<std::string>& shown() const { return shown_; }
  std::size_t not_shown() const { return not_shown_; }
  bool empty() const { return shown_.empty() && not_shown_ == 0; }

 private:
  std::size_t shown_at_most_;
  std::vector<std::string> shown_;
  std::size_t not_shown_ = 0;
};

// How a key appears in a problem: quoted, in the output's character set.
using KeyDisplay = std::function<std::string(std::string_view key)>;

// Compares index `which` of the list with every record of its table and
// adds one problem per disagreement. The index is read under one read lock
// and the table after it, so that a record another station appends
// meanwhile is in the table before its entry can be. Moves the table's
// current record. False (and nothing added) when a record of the table
// cannot be read: see table.error().
bool compare_index_with_table(IndexList& indexes, std::size_t which, Table& table, const KeyDisplay& show,
                              ProblemList& problems);

}  // namespace intra::dbtool
