// info, create, pack and zap: the commands that work on a table as a whole.
#include <cstdio>

#include "storage/dbtool/commands.h"
#include "storage/field_spec_string.h"

namespace intra::dbtool {
namespace {

std::string hex_byte(std::uint8_t byte) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "0x%02X", byte);
  return buffer;
}

}  // namespace

void info_command(ToolContext& context, const std::string& name) {
  auto table = open_table(context, name, kSharedReading);
  const TableHeader& header = table->header();
  std::ostream& out = context.out;
  out << "version: " << hex_byte(header.version) << '\n';
  out << "last update: " << (header.last_update.empty() ? std::string("-") : header.last_update.dtoc()) << '\n';
  out << "header length: " << table->header_length() << '\n';
  out << "record length: " << table->record_length() << '\n';
  out << "records: " << table->record_count() << '\n';
  out << "fields:\n";
  for (const FieldDescriptor& field : table->fields())
    out << field.name << ' ' << field.type << ' ' << field.width << ' ' << field.decimals << '\n';
  close_table(*table);
}

void create_command(ToolContext& context, const std::string& field_specification) {
  std::string problem;
  const auto parsed = parse_field_spec_string(field_specification, problem);
  if (!parsed) throw ToolError("bad field-specification string: " + problem);
  TableError error;
  if (!Table::create(context.files, parsed->path, parsed->fields, error)) throw ToolError(error.message());
}

void pack_command(ToolContext& context, const std::string& name) {
  auto table = open_table(context, name, kExclusive);
  if (!table->pack()) throw ToolError(table->error().message());
  close_table(*table);
}

void zap_command(ToolContext& context, const std::string& name) {
  auto table = open_table(context, name, kExclusive);
  if (!table->zap()) throw ToolError(table->error().message());
  close_table(*table);
}

}  // namespace intra::dbtool
