#pragma once
// Moving through a table in record-number order or in the order of one of
// its indexes, with deleted records hidden (unless shown) and the end and
// beginning of the table as the work areas report them: past the last
// record the cursor stands on the phantom record with eof(); stepping back
// before the first visible record leaves it there with bof().
#include <cstdint>

#include "storage/index_list.h"
#include "storage/table.h"

namespace intra {

class TableCursor {
 public:
  TableCursor(Table& table, IndexList& indexes) : table_(table), indexes_(indexes) {}

  // 0: record-number order; 1..size(): that index of the list controls.
  bool set_order(int order);
  int order() const { return order_; }
  void set_deleted_hidden(bool hidden) { deleted_hidden_ = hidden; }
  bool deleted_hidden() const { return deleted_hidden_; }

  bool go_top();
  bool go_bottom();
  bool go_to(std::uint32_t recno);
  bool skip(long count = 1);
  // Positions on the first record whose key begins with the value's key
  // (the controlling index's). Without soft seek a miss goes to the end.
  bool seek(const Value& value, bool soft = false);

  // The table's pointer was moved to a live record outside the cursor (an
  // append): neither end nor a found key any more.
  void arrived_elsewhere() { eof_ = bof_ = found_ = false; }

  bool eof() const { return eof_; }
  bool bof() const { return bof_; }
  bool found() const { return found_; }
  std::uint32_t recno() const { return table_.recno(); }
  const TableError& error() const { return error_; }

 private:
  bool hidden();
  bool flush();
  bool fail(const TableError& e);
  bool to_end();
  bool arrive(std::uint32_t recno);
  NtxIndex& controlling() { return indexes_.index(static_cast<std::size_t>(order_ - 1)); }
  // Places the controlling index's position on the current record.
  bool refind();
  // From the index's current key, steps (forward or back) over hidden
  // records; false when the index ends first.
  bool settle_in_index(bool forward);
  bool skip_natural(bool forward);
  bool skip_indexed(bool forward);

  Table& table_;
  IndexList& indexes_;
  int order_ = 0;
  bool deleted_hidden_ = true;
  bool eof_ = false, bof_ = false, found_ = false;
  TableError error_;
};

}  // namespace intra
