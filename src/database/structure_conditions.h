#pragma once
// What decides which optional fields a table gets when it is created or
// rebuilt: marker files, the company-name switches and flags read from
// tables before the rebuild. The structure functions (structures.h) ask
// only this class, so a test sets every input by hand.
//
//   StructureConditions c;                     // FILE_X on the run's files
//   c.set_company(company_names_of_firma());   // firma open in its area
//   c.set_old_fields(AFIELDS());               // the table about to be rebuilt
//   TWORZ(structure_string(path, as_structure(c)));
//
// Name tests work on capitals (ASCII letters; the words tested are plain
// ASCII), except name1_exact_has, which compares NODB as stored. Joined
// names are the stored fields one after the other, blanks included, as
// the record holds them.
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "storage/table.h"

namespace intra {

// A marker file of the documents-header table's optional fields; its name
// is written in two pieces on purpose (the file name itself is unchanged).
inline constexpr const char kDowodMarkerS[] = "S" "PEC.TXT";

// The company record's name and street fields (firma->NODB, NODB1, NODB2,
// UODB), as stored.
struct CompanyNames {
  std::string nodb;
  std::string nodb1;
  std::string nodb2;
  std::string uodb;
};

// The names of the company record open under the alias "firma"; empty
// names when no such area is open.
CompanyNames company_names_of_firma();

class StructureConditions {
 public:
  // Whether a marker file exists; the default asks FILE_X on the run's
  // file system at each question, so markers are read afresh.
  using MarkerTest = std::function<bool(std::string_view)>;

  StructureConditions();
  explicit StructureConditions(MarkerTest marker);

  // --- inputs
  void set_company(CompanyNames names) { names_ = std::move(names); }
  // The fields of the table as it was before the rebuild (empty when it is
  // created for the first time).
  void set_old_fields(const std::vector<FieldSpec>& fields);
  void set_old_fields(std::vector<std::string> names) { old_fields_ = std::move(names); }
  // The fields of the stock table `as` as it stands now (after its own
  // rebuild earlier in the run); `dow` and `dowod` depend on them.
  void set_stock_fields(const std::vector<FieldSpec>& fields);
  void set_stock_fields(std::vector<std::string> names) { stock_fields_ = std::move(names); }
  // The month directory HH, e.g. "04\08".
  void set_month_directory(std::string hh) { month_directory_ = std::move(hh); }

  // --- tests
  bool marker(std::string_view file) const;
  bool name1_has(std::string_view word) const;        // NODB
  bool name2_has(std::string_view word) const;        // NODB1
  bool name12_has(std::string_view word) const;       // NODB + NODB1
  bool name123_has(std::string_view word) const;      // NODB + NODB1 + NODB2
  bool name1_exact_has(std::string_view word) const;  // NODB, case as stored
  bool street_has(std::string_view word) const;       // UODB
  bool old_had(std::string_view field) const;         // any case
  bool stock_has(std::string_view field) const;       // any case
  // The month directory compares greater than `hh` as text (so "04\09"
  // and "10\01" are after "04\08").
  bool month_after(std::string_view hh) const { return month_directory_ > hh; }

  // --- widths decided by markers
  int barcode_width() const;   // K: 20, 18, 16, 14 by KOD20/18/16/14.TXT, the first found; else 13
  int batch_width() const;     // P: 10 with PARTIA10.TXT, else 5
  int podatek0_width() const;  // PODATEK0: 4 with VAT_13_5.TXT, else 2

 private:
  MarkerTest marker_;
  CompanyNames names_;
  std::vector<std::string> old_fields_;
  std::vector<std::string> stock_fields_;
  std::string month_directory_;
};

// "K A D M I R" for "KADMIR": the spaced-out form a few customers' names
// are also tested in.
std::string spaced_out(std::string_view word);

}  // namespace intra
