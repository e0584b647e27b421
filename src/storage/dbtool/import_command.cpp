// import: CSV lines become appended records.
#include <cerrno>
#include <cstring>
#include <fstream>
#include <optional>
#include <vector>

#include "storage/dbtool/commands.h"
#include "storage/dbtool/csv.h"
#include "storage/dbtool/field_text.h"
#include "storage/dbtool/text_encoding.h"
#include "storage/field_codec.h"

namespace intra::dbtool {
namespace {

std::string_view trim_blanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// "1 record", "2 records".
std::string counted(std::size_t n, const std::string& thing) {
  return std::to_string(n) + " " + thing + (n == 1 ? "" : "s");
}

// One run of an import: the CSV columns mapped to fields and the records
// appended so far. Every value of a line is checked (including whether a
// number fits its field) before its record is appended, so a bad line adds
// no record and the records before it are complete.
class CsvImport {
 public:
  CsvImport(Table& table, CsvReader& reader, CsvTextEncoding encoding)
      : table_(table), reader_(reader), encoding_(encoding) {}

  void run() {
    read_header();
    std::vector<std::string> values;
    while (reader_.next(values)) import_line(values);
    if (!reader_.problem().empty()) fail(reader_.problem());
  }

 private:
  [[noreturn]] void fail(const std::string& what) const {
    throw ToolError("line " + std::to_string(reader_.record_line()) + ": " + what + " (" + counted(imported_, "record") +
                    " imported)");
  }
  [[noreturn]] void fail_in_column(std::size_t column, const std::string& what) const {
    fail("column " + table_.fields()[static_cast<std::size_t>(field_of_column_[column])].name + ": " + what);
  }

  void read_header() {
    std::vector<std::string> names;
    if (!reader_.next(names)) fail(reader_.problem().empty() ? "no header line naming the fields" : reader_.problem());
    if (!names.empty() && names.front().starts_with("\xEF\xBB\xBF")) names.front().erase(0, 3);  // a UTF-8 byte order mark
    for (std::size_t column = 0; column < names.size(); ++column) {
      const std::string_view name = trim_blanks(names[column]);
      if (name.empty()) fail("column " + std::to_string(column + 1) + " has no name");
      const int field = table_.field_index(name);
      if (field < 0) fail("no field " + std::string(name) + " in " + table_.file_name());
      for (int earlier : field_of_column_)
        if (earlier == field) fail("column " + std::string(name) + " appears twice");
      field_of_column_.push_back(field);
    }
  }

  void import_line(const std::vector<std::string>& values) {
    if (values.size() != field_of_column_.size())
      fail(counted(values.size(), "value") + ", but the header names " + counted(field_of_column_.size(), "column"));
    std::vector<std::optional<Value>> record(values.size());
    for (std::size_t column = 0; column < values.size(); ++column) {
      std::string bytes;
      if (!encoding_.to_table(values[column], bytes)) fail_in_column(column, "a character not in code page 852 or not UTF-8");
      const FieldDescriptor& field = table_.fields()[static_cast<std::size_t>(field_of_column_[column])];
      std::string problem;
      if (!parse_field_text(field, bytes, record[column], problem)) fail_in_column(column, problem);
      if (record[column] && field.type != 'M') check_fits(field, *record[column]);
    }

    if (!table_.append()) fail(table_.error().message());
    for (std::size_t column = 0; column < values.size(); ++column) {
      if (record[column] && !table_.put(field_of_column_[column], *record[column])) {
        const std::string message = table_.error().message();
        table_.delete_record();  // keep the half-filled record out of the live ones
        fail(message);
      }
    }
    ++imported_;
  }

  // Encodes into a scratch field the way the engine will, so that a value
  // the field cannot take is refused before its record exists.
  void check_fits(const FieldDescriptor& field, const Value& value) const {
    std::string scratch(static_cast<std::size_t>(field.width), ' ');
    switch (encode_field(field, value, scratch.data())) {
      case EncodeResult::Ok: return;
      case EncodeResult::DataWidth:
        fail(TableError::make(TableErrorKind::DataWidth, table_.file_name(), "field " + field.name).message());
      case EncodeResult::DataType:
        fail(TableError::make(TableErrorKind::DataType, table_.file_name(), "field " + field.name).message());
    }
  }

  Table& table_;
  CsvReader& reader_;
  CsvTextEncoding encoding_;
  std::vector<int> field_of_column_;
  std::size_t imported_ = 0;
};

}  // namespace

void import_command(ToolContext& context, const std::string& name, const std::string& csv_file) {
  std::ifstream in(csv_file, std::ios::binary);
  if (!in) throw ToolError("cannot read " + csv_file + ": " + std::strerror(errno));
  auto table = open_table(context, name, kExclusive);
  CsvReader reader(in);
  CsvImport(*table, reader, CsvTextEncoding(context.utf8)).run();
  close_table(*table);
}

}  // namespace intra::dbtool
