#include "database/structure_conditions.h"

#include <algorithm>
#include <utility>

#include "main/ascii_case.h"
#include "storage/file_x.h"
#include "storage/table_operations.h"

namespace intra {

namespace {

std::vector<std::string> names_of(const std::vector<FieldSpec>& fields) {
  std::vector<std::string> names;
  names.reserve(fields.size());
  for (const FieldSpec& f : fields) names.push_back(f.name);
  return names;
}

bool has_name(const std::vector<std::string>& names, std::string_view field) {
  const std::string wanted = upper_ascii(field);
  return std::any_of(names.begin(), names.end(), [&](const std::string& n) { return upper_ascii(n) == wanted; });
}

bool contains(std::string_view text, std::string_view word) { return text.find(word) != std::string_view::npos; }

bool contains_in_capitals(const std::string& text, std::string_view word) {
  return contains(upper_ascii(text), upper_ascii(word));
}

}  // namespace

CompanyNames company_names_of_firma() {
  CompanyNames names;
  if (SELECT("firma") == 0) return names;
  WorkArea& firma = area("firma");
  const std::vector<std::string> fields = names_of(firma.field_list());
  auto text_of = [&](std::string_view field) -> std::string {
    if (!has_name(fields, field)) return {};
    const Value v = firma.get(field);
    return v.is_text() ? v.text() : std::string();
  };
  names.nodb = text_of("NODB");
  names.nodb1 = text_of("NODB1");
  names.nodb2 = text_of("NODB2");
  names.uodb = text_of("UODB");
  return names;
}

StructureConditions::StructureConditions()
    : StructureConditions([](std::string_view file) { return FILE_X(file); }) {}

StructureConditions::StructureConditions(MarkerTest marker) : marker_(std::move(marker)) {}

void StructureConditions::set_old_fields(const std::vector<FieldSpec>& fields) { old_fields_ = names_of(fields); }

void StructureConditions::set_stock_fields(const std::vector<FieldSpec>& fields) {
  stock_fields_ = names_of(fields);
}

bool StructureConditions::marker(std::string_view file) const { return marker_ && marker_(file); }

bool StructureConditions::name1_has(std::string_view word) const { return contains_in_capitals(names_.nodb, word); }

bool StructureConditions::name2_has(std::string_view word) const { return contains_in_capitals(names_.nodb1, word); }

bool StructureConditions::name12_has(std::string_view word) const {
  return contains_in_capitals(names_.nodb + names_.nodb1, word);
}

bool StructureConditions::name123_has(std::string_view word) const {
  return contains_in_capitals(names_.nodb + names_.nodb1 + names_.nodb2, word);
}

bool StructureConditions::name1_exact_has(std::string_view word) const { return contains(names_.nodb, word); }

bool StructureConditions::street_has(std::string_view word) const { return contains_in_capitals(names_.uodb, word); }

bool StructureConditions::old_had(std::string_view field) const { return has_name(old_fields_, field); }

bool StructureConditions::stock_has(std::string_view field) const { return has_name(stock_fields_, field); }

int StructureConditions::barcode_width() const {
  // The first marker in this order wins, so KOD20.TXT beside KOD14.TXT
  // still gives 20.
  static constexpr std::pair<std::string_view, int> kWidths[] = {
      {"KOD20.TXT", 20}, {"KOD18.TXT", 18}, {"KOD16.TXT", 16}, {"KOD14.TXT", 14}};
  for (const auto& [file, width] : kWidths)
    if (marker(file)) return width;
  return 13;
}

int StructureConditions::batch_width() const { return marker("PARTIA10.TXT") ? 10 : 5; }

int StructureConditions::podatek0_width() const { return marker("VAT_13_5.TXT") ? 4 : 2; }

std::string spaced_out(std::string_view word) {
  std::string out;
  for (char ch : word) {
    if (!out.empty()) out += ' ';
    out += ch;
  }
  return out;
}

}  // namespace intra
