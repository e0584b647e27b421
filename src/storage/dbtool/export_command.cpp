// export: the records of a table as CSV.
#include <vector>

#include "storage/dbtool/commands.h"
#include "storage/dbtool/csv.h"
#include "storage/dbtool/field_text.h"
#include "storage/dbtool/text_encoding.h"

namespace intra::dbtool {

void export_command(ToolContext& context, const std::string& name) {
  auto table = open_table(context, name, kSharedReading);
  const CsvTextEncoding encoding(context.utf8);
  CsvWriter writer(context.out);

  std::vector<std::string> line;
  if (context.deleted) line.emplace_back("DELETED");
  for (const FieldDescriptor& field : table->fields()) line.push_back(encoding.to_csv(field.name));
  writer.write(line);

  // Records other stations append meanwhile are not part of this export.
  const std::uint32_t count = table->record_count();
  for (std::uint32_t n = 1; n <= count; ++n) {
    std::string_view bytes;
    if (!table->go_to(n) || !table->record_bytes(bytes)) throw ToolError(table->error().message());
    const bool deleted = table->deleted();
    if (deleted && !context.deleted) continue;
    line.clear();
    if (context.deleted) line.emplace_back(deleted ? "T" : "F");
    for (int field = 0; field < table->field_count(); ++field) {
      std::string text;
      if (!field_text(*table, field, text)) throw ToolError(table->error().message());
      line.push_back(encoding.to_csv(text));
    }
    writer.write(line);
  }
  close_table(*table);
}

}  // namespace intra::dbtool
