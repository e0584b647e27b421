#include "storage/dbtool/indexed_table.h"

#include <string>

namespace intra::dbtool {
namespace {

std::string base_name(std::string_view file_name) {
  const std::size_t slash = file_name.find_last_of("\\/");
  std::string_view base = slash == std::string_view::npos ? file_name : file_name.substr(slash + 1);
  return std::string(base.substr(0, base.rfind('.')));
}

}  // namespace

IndexedTable::IndexedTable(ToolContext& context, std::string_view table_name, OpenOptions options)
    : table_(open_table(context, table_name, options)),
      indexes_(std::make_unique<IndexList>(*table_, base_name(table_->file_name()))) {}

void IndexedTable::add(std::string_view index_name) {
  if (!indexes_->add(index_name)) throw ToolError(indexes_->error().message());
}

void IndexedTable::close() {
  if (!indexes_->close_all()) throw ToolError(indexes_->error().message());
  close_table(*table_);
}

}  // namespace intra::dbtool
