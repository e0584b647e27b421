#include "storage/dbtool/tool_context.h"

namespace intra::dbtool {

std::unique_ptr<Table> open_table(ToolContext& context, std::string_view name, OpenOptions options) {
  TableError error;
  auto table = Table::open(context.files, name, options, error);
  if (!table) throw ToolError(error.message());
  return table;
}

void close_table(Table& table) {
  if (!table.close()) throw ToolError(table.error().message());
}

}  // namespace intra::dbtool
