#include "index_fuzz_table.h"

#include "main/value.h"

namespace intra::fuzz {

const std::vector<FieldSpec>& index_table_fields() {
  static const std::vector<FieldSpec> fields = {
      {"INDEKS", 'C', 8, 0}, {"ILOSC", 'N', 8, 2}, {"DATA", 'D', 8, 0}, {"NAZWA", 'C', 12, 0}, {"OK", 'L', 1, 0}};
  return fields;
}

std::vector<IndexTableRow> fixed_index_table_rows() {
  std::vector<IndexTableRow> rows;
  const Date first = Date::from_ymd(2024, 5, 1);
  for (int i = 0; i < 24; ++i) {
    IndexTableRow r;
    r.indeks = std::string(1, static_cast<char>('A' + (i * 7) % 26)) + std::to_string(i % 5);
    r.ilosc = (i % 3 == 0 ? -1 : 1) * (i * 12.5 - 40);
    r.data = i % 9 == 4 ? Date() : first.plus_days(i % 6);
    r.nazwa = i % 4 == 0 ? "towar" : "Towar " + std::to_string(i % 7);
    r.ok = i % 2 == 0;
    r.deleted = i == 5 || i == 17;
    rows.push_back(r);
  }
  return rows;
}

bool make_index_table(FileSystem& files, std::string_view name, const std::vector<IndexTableRow>& rows,
                      TableError& error) {
  if (!Table::create(files, name, index_table_fields(), error)) return false;
  auto t = Table::open(files, name, OpenOptions{false, false}, error);
  if (!t) return false;
  for (const IndexTableRow& r : rows) {
    const bool ok = t->append() && t->put(0, Value(r.indeks)) && t->put(1, Value(r.ilosc)) &&
                    t->put(2, Value(r.data)) && t->put(3, Value(r.nazwa)) && t->put(4, Value(r.ok)) &&
                    (!r.deleted || t->delete_record());
    if (!ok) {
      error = t->error();
      return false;
    }
  }
  if (!t->close()) {
    error = t->error();
    return false;
  }
  return true;
}

}  // namespace intra::fuzz
