#pragma once
// One work area: a numbered slot holding an open table with its alias, its
// index list, the record pointer (a cursor over the controlling order), the
// locks the table holds and the relations from it into other areas.
//
// The application's operations on tables go through here. Failures of the
// engine that the application does not expect (a read error, an assignment
// without a lock, a damaged index) go to the run's error handler, which
// offers to retry, to go on with a default result or to quit; expected
// outcomes (a busy lock, a busy append, a sharing conflict) are results.
//
// Invariants:
// - An unused area holds no table; every operation on it reports "Workarea
//   not in use" through the error handler and gives an empty result (area
//   0, what a missing alias finds, gives it without a second report).
// - After every movement of the record pointer the children of the area's
//   relations stand on the record the relation's key selects.
// - Deleted records are hidden or shown as the run's setting says at the
//   moment of the movement (the rebuild shows them around two copies).
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "main/value.h"
#include "storage/index_list.h"
#include "storage/key_expression.h"
#include "storage/record_context.h"
#include "storage/table.h"
#include "storage/table_cursor.h"

namespace intra {

class WorkAreas;

class WorkArea {
 public:
  WorkArea(WorkAreas& owner, int number);
  ~WorkArea();
  WorkArea(const WorkArea&) = delete;
  WorkArea& operator=(const WorkArea&) = delete;

  int number() const { return number_; }
  bool used() const { return table_ != nullptr; }
  // Upper case, as the alias was given; "" for an unused area.
  const std::string& alias() const { return alias_; }

  // --- open and close
  // Opens a table here (closing what was open); false with `error` set
  // when it cannot be opened. The record pointer is on the first record.
  bool open(FileSystem& fs, std::string_view file, std::string_view alias, bool shared, TableError& error);
  // Writes what is pending, releases the locks and closes the table and
  // its indexes; relations from and into this area end.
  bool close();

  // --- fields (FIELDPOS is 1-based, 0 for a missing field)
  int field_pos(std::string_view name) const;
  std::string field_name(int pos) const;  // "" when out of range
  int field_count() const;
  std::vector<FieldSpec> field_list() const;
  // alias->field: the field's value on the current record. A missing field
  // is a run-time error (Default gives logical false).
  Value get(std::string_view name);
  Value get(int pos);
  // alias->field := value. The record must be locked in shared use.
  bool put(std::string_view name, const Value& value);
  bool put(int pos, const Value& value);

  // alias->(expression): runs `expression` with this area selected and
  // gives its result; the area selected before is selected again.
  template <typename F>
  auto evaluate(F&& expression) -> decltype(expression());

  // A key text compiled against this area's fields (an unknown field or bad
  // syntax is a run-time error: nullptr), and its value on the current record.
  std::unique_ptr<KeyExpression> compile(std::string_view text);
  Value value_of(const KeyExpression& expression);

  // --- position
  bool go_top();
  bool go_bottom();
  bool go_to(std::uint32_t recno);
  bool skip(long count = 1);
  // Seeks on the controlling index; a miss leaves the end of the table
  // unless `soft`, which stops on the next greater key.
  bool seek(const Value& value, bool soft = false);
  bool eof() const;
  bool bof() const;
  bool found() const { return found_; }
  std::uint32_t recno() const;
  std::uint32_t lastrec();  // every record, deleted ones included
  bool deleted();

  // --- changes
  // Adds a blank record and makes it current; in shared use it is locked.
  // False, with the network error set, when another station holds the
  // table's append lock.
  bool append();
  bool delete_record();
  bool recall();
  bool pack();  // exclusive use only
  bool zap();   // exclusive use only
  bool commit();
  // Runs `block` on every visible record from the top (those passing
  // `condition`, when given).
  bool eval(const std::function<void()>& block, const std::function<bool()>& condition = {});

  // --- indexes
  // Builds an index over every record; it becomes the only open index and
  // controls. The pointer goes to the top.
  bool create_index(std::string_view file, std::string_view key_text, bool unique = false);
  // Opens an index and adds it to the list; the first one added controls
  // (and the pointer goes to the top).
  bool add_index(std::string_view file);
  bool clear_indexes();
  // Makes index n (0: record order) control; gives the order before.
  int set_order(int order);
  int order() const;
  // The key text of index n, 0 meaning the controlling one; "" when none.
  std::string index_key(int n = 0) const;
  std::size_t index_count() const;

  // --- relations
  // Moving this area's pointer seeks `child` on its controlling index for
  // the key's value on this area's record (without an index: goes to the
  // record of that number). The child is positioned at once.
  bool set_relation(WorkArea& child, std::string_view key_text);
  void clear_relations();
  void forget_child(int child_number);

  // --- locks (single tries)
  bool lock_record();  // the current record; other record locks are released
  bool lock_file();
  bool unlock();

  // The engine objects, for the bulk operations and the tests; only valid
  // while the area is used.
  Table& table() { return *table_; }
  IndexList& indexes() { return *indexes_; }
  TableCursor& cursor() { return *cursor_; }
  WorkAreas& owner() { return owner_; }

  // Runs an engine step until it succeeds: each failure it returns goes to
  // the error handler (Retry runs it again, Default gives false).
  bool engine(const std::function<TableError()>& step);
  // Reports "Workarea not in use" when unused; true when used.
  bool in_use() const;

 private:
  struct Relation {
    int child = 0;
    std::string text;
    std::unique_ptr<KeyExpression> key;
  };

  bool position(const std::function<bool()>& move);
  void follow_relations();
  void prepare_cursor();
  int field_or_report(std::string_view name);

  WorkAreas& owner_;
  int number_ = 0;
  std::string alias_;
  std::unique_ptr<Table> table_;
  std::unique_ptr<IndexList> indexes_;
  std::unique_ptr<TableCursor> cursor_;
  std::unique_ptr<RecordContext> context_;
  std::vector<Relation> relations_;
  bool found_ = false;
  bool following_ = false;  // moving the children of its relations
};

}  // namespace intra

#include "storage/work_areas.h"

namespace intra {

template <typename F>
auto WorkArea::evaluate(F&& expression) -> decltype(expression()) {
  const WorkAreas::Selected scope(owner_, number_);
  return expression();
}

}  // namespace intra
