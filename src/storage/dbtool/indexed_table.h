#pragma once
// A table open with the indexes a command names, as a work area holds them:
// the index list observes the table, so it is closed and destroyed first.
#include <memory>
#include <string_view>

#include "storage/dbtool/tool_context.h"
#include "storage/index_list.h"

namespace intra::dbtool {

class IndexedTable {
 public:
  // Opens the table or throws the engine's message. The list's alias is the
  // table's base name, so key texts may name fields as ALIAS->FIELD.
  IndexedTable(ToolContext& context, std::string_view table_name, OpenOptions options);

  Table& table() { return *table_; }
  IndexList& indexes() { return *indexes_; }

  // Opens an index through the list, in the table's mode; throws the
  // engine's message.
  void add(std::string_view index_name);
  // Closes the indexes, then the table; throws the engine's message.
  void close();

 private:
  std::unique_ptr<Table> table_;
  std::unique_ptr<IndexList> indexes_;  // declared after the table: destroyed before it
};

}  // namespace intra::dbtool
