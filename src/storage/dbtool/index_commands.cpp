// index, keys, seek and check: the commands on a table's index files.
#include <cstdio>

#include "storage/dbtool/commands.h"
#include "storage/dbtool/index_consistency.h"
#include "storage/dbtool/indexed_table.h"
#include "storage/dbtool/key_value_text.h"
#include "storage/dbtool/text_encoding.h"
#include "storage/table_cursor.h"

namespace intra::dbtool {
namespace {

// A damaged index can report anything; the report stays readable.
constexpr std::size_t kProblemsShownPerIndex = 50;

// Keys in problem reports: quoted, control bytes as \xNN, so that a key of
// a damaged page cannot break the report's lines.
KeyDisplay key_display(const CsvTextEncoding& encoding) {
  return [encoding](std::string_view key) {
    std::string visible;
    for (char c : key) {
      const auto byte = static_cast<unsigned char>(c);
      if (byte < 0x20 || byte == 0x7F) {
        char escaped[5];
        std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
        visible += escaped;
      } else {
        visible += c;
      }
    }
    return "\"" + encoding.to_csv(visible) + "\"";
  };
}

void print_keys(ToolContext& context, NtxIndex& index) {
  // The entries are gathered under one read lock and printed after it, so
  // that a slow reader of the output never keeps the stations waiting.
  std::vector<KeyEntry> entries;
  if (!index.for_each([&](const KeyEntry& entry) {
        entries.push_back(entry);
        return true;
      }))
    throw ToolError(index.error().message());
  const CsvTextEncoding encoding(context.utf8);
  for (const KeyEntry& entry : entries) context.out << encoding.to_csv(entry.key) << '\t' << entry.recno << '\n';
}

Value seek_value(const ToolContext& context, const IndexList::Entry& entry, const std::string& text) {
  std::string table_text;
  if (!CsvTextEncoding(context.utf8).to_table(text, table_text))
    throw ToolError("a character not in code page 852 or not UTF-8 in the value");
  Value value;
  std::string problem;
  if (!parse_key_value(entry.shape.type, table_text, value, problem)) throw ToolError(problem);
  return value;
}

// The tree's own problems, then the table's disagreements with it.
ProblemList problems_of(IndexedTable& area, std::size_t which, const KeyDisplay& show) {
  ProblemList problems(kProblemsShownPerIndex);
  for (std::string& problem : area.indexes().index(which).check()) problems.add(std::move(problem));
  if (!compare_index_with_table(area.indexes(), which, area.table(), show, problems))
    throw ToolError(area.table().error().message());
  return problems;
}

void print_report(std::ostream& out, const std::string& index_file, const ProblemList& problems) {
  if (problems.empty()) {
    out << index_file << ": consistent\n";
    return;
  }
  for (const std::string& problem : problems.shown()) out << index_file << ": " << problem << '\n';
  if (problems.not_shown() > 0)
    out << index_file << ": " << problems.not_shown() << " more problem" << (problems.not_shown() == 1 ? "" : "s")
        << '\n';
}

}  // namespace

void index_command(ToolContext& context, const std::string& table, const std::string& index,
                   const std::string& key_expression) {
  IndexedTable area(context, table, kExclusive);
  if (!area.indexes().create(index, key_expression)) throw ToolError(area.indexes().error().message());
  area.close();
}

void keys_command(ToolContext& context, const std::string& index, const std::string& table) {
  if (!table.empty()) {
    IndexedTable area(context, table, kSharedReading);
    area.add(index);
    print_keys(context, area.indexes().index(0));
    area.close();
    return;
  }
  TableError error;
  auto file = NtxIndex::open(context.files, index, true, true, error);
  if (!file) throw ToolError(error.message());
  print_keys(context, *file);
  if (!file->close()) throw ToolError(file->error().message());
}

bool seek_command(ToolContext& context, const std::string& table, const std::string& index,
                  const std::string& value_text) {
  IndexedTable area(context, table, kSharedReading);
  area.add(index);
  const Value value = seek_value(context, area.indexes().entry(0), value_text);
  TableCursor cursor(area.table(), area.indexes());
  cursor.set_order(1);
  if (!cursor.seek(value)) throw ToolError(cursor.error().message());
  if (cursor.found())
    context.out << cursor.recno() << '\n';
  else
    context.out << "not found\n";
  area.close();
  return cursor.found();
}

bool check_command(ToolContext& context, const std::string& table, const std::vector<std::string>& indexes) {
  IndexedTable area(context, table, kSharedReading);
  const KeyDisplay show = key_display(CsvTextEncoding(context.utf8));
  bool consistent = true;
  for (const std::string& index : indexes) {
    const std::string index_file = NtxIndex::index_file_name(index);
    // An index that does not open is one more problem of the run, and the
    // other indexes are still checked.
    ProblemList problems(kProblemsShownPerIndex);
    if (area.indexes().add(index))
      problems = problems_of(area, area.indexes().size() - 1, show);
    else
      problems.add(area.indexes().error().message());
    print_report(context.out, index_file, problems);
    consistent = consistent && problems.empty();
  }
  area.close();
  return consistent;
}

}  // namespace intra::dbtool
