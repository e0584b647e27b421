#pragma once
// The open indexes of one table, kept up to date as its records change.
//
// For every index the key expression (and condition, when the file has one)
// is compiled once against the table's fields. When a record is about to
// change for the first time, each index saves the record's old key and
// whether the record passed the condition; when the record is written
// (goes cold), each index whose key or condition result changed, and every
// index for a newly appended record, deletes the old key and inserts the new
// one under its write lock. Pack rebuilds every index, zap empties them.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "storage/key_encoding.h"
#include "storage/key_expression.h"
#include "storage/ntx_index.h"
#include "storage/record_context.h"
#include "storage/table.h"

namespace intra {

class IndexList final : public RecordObserver {
 public:
  // Attaches itself to the table as its observer; `alias` is the name key
  // texts may use before "->" for the table's own fields.
  IndexList(Table& table, std::string alias);
  ~IndexList() override;
  IndexList(const IndexList&) = delete;
  IndexList& operator=(const IndexList&) = delete;

  struct Entry {
    std::unique_ptr<NtxIndex> file;
    std::unique_ptr<KeyExpression> key;
    std::unique_ptr<KeyExpression> condition;  // null when the index has none
    KeyShape shape{KeyType::Character, 0, 0};
    // Saved when the current record first changed: its key when it was in
    // the index (it passed the condition), nothing when it was not.
    std::optional<std::string> old_key;
    bool old_saved = false;
  };

  // Opens an index file in the table's mode and appends it to the list.
  bool add(std::string_view index_name);
  // Builds an index over every record (deleted ones included) and makes it
  // the only open index.
  bool create(std::string_view index_name, std::string_view key_text, bool unique = false);
  void clear();
  std::size_t size() const { return entries_.size(); }
  Entry& entry(std::size_t i) { return entries_[i]; }
  NtxIndex& index(std::size_t i) { return *entries_[i].file; }

  // The key of the current record for index i, and whether the record
  // passes its condition (true without one).
  std::string current_key(std::size_t i);
  bool current_passes(std::size_t i);
  // The search key of a value for index i (a short text keeps its length).
  std::string search_key(std::size_t i, const Value& value) const;

  bool rebuild_all();
  bool zap_all();
  bool close_all();

  // Where "ntxGoCold: Cannot find current key" goes; standard error when unset.
  void set_message_sink(std::function<void(std::string_view)> sink) { sink_ = std::move(sink); }
  const TableError& error() const { return error_; }

  // RecordObserver
  void before_first_change(Table& table) override;
  bool record_written(Table& table, std::uint32_t recno, bool appended) override;
  bool table_rewritten(Table& table) override;

 private:
  bool fail(const TableError& e);
  bool fail(TableErrorKind kind, std::string_view file, std::string detail);
  bool compile(Entry& e, const std::string& key_text, const std::string& condition_text, std::string_view file);
  // Points the context at the current record; false when it cannot be read.
  bool point_at_current();
  Value evaluate(const KeyExpression& expression);
  KeySource bulk_source(Entry& e);

  Table& table_;
  std::string alias_;
  RecordContext context_;
  std::vector<Entry> entries_;
  std::function<void(std::string_view)> sink_;
  TableError error_;
};

}  // namespace intra
