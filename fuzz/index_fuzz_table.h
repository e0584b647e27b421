#pragma once
// The table the index fuzz target uses every index input with, and the
// tables its seed generator builds the seed indexes over: the same fields,
// so that the key texts stored in the seeds compile against the target's
// table.
//
//   INDEKS C 8, ILOSC N 8,2, DATA D, NAZWA C 12, OK L
#include <string>
#include <string_view>
#include <vector>

#include "main/date.h"
#include "storage/file_system.h"
#include "storage/table.h"
#include "storage/table_error.h"

namespace intra::fuzz {

struct IndexTableRow {
  std::string indeks;
  double ilosc = 0;
  Date data;
  std::string nazwa;
  bool ok = false;
  bool deleted = false;
};

const std::vector<FieldSpec>& index_table_fields();

// The rows of the target's fixed table: 24 records with equal and distinct
// keys of every field, negative numbers, an empty date and two deleted
// records.
std::vector<IndexTableRow> fixed_index_table_rows();

// Creates table `name` holding `rows` with exclusive use; false with
// `error` set when the engine refuses.
bool make_index_table(FileSystem& files, std::string_view name, const std::vector<IndexTableRow>& rows,
                      TableError& error);

}  // namespace intra::fuzz
