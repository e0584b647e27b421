#include "session/company_table.h"

#include <cstdio>
#include <vector>

#include "database/net_use.h"
#include "database/tworz.h"
#include "main/text_comparison.h"
#include "storage/file_system.h"
#include "storage/file_x.h"
#include "storage/table_operations.h"

namespace intra {
namespace {

struct CompanyField {
  const char* name;
  char type;
  int width, decimals;
};

// The company record's fields in their order; ST's width is filled in.
std::vector<CompanyField> company_fields() {
  std::vector<CompanyField> fields = {
      {"ODB", 'C', 8, 0},       {"NODB", 'C', 30, 0},     {"NODB1", 'C', 30, 0},     {"NODB2", 'C', 30, 0},
      {"NODB3", 'C', 30, 0},    {"NODB4", 'C', 30, 0},    {"UODB", 'C', 25, 0},      {"KODB", 'C', 6, 0},
      {"MODB", 'C', 18, 0},     {"BODB", 'C', 54, 0},     {"NRBO", 'C', 40, 0},      {"BODB1", 'C', 54, 0},
      {"NRBO1", 'C', 40, 0},    {"BODB2", 'C', 54, 0},    {"NRBO2", 'C', 40, 0},     {"BODB3", 'C', 54, 0},
      {"NRBO3", 'C', 40, 0},    {"BODB4", 'C', 54, 0},    {"NRBO4", 'C', 40, 0},     {"NIP_KRAJ", 'C', 2, 0},
      {"REGON", 'C', 13, 0},    {"TEL", 'C', 25, 0},      {"E_MAIL", 'C', 40, 0},    {"E_UWAGI", 'C', 50, 0},
      {"SMTP", 'C', 30, 0},     {"REGON0", 'C', 13, 0},   {"KRS_NR", 'C', 13, 0},    {"KRS_SAD", 'C', 80, 0},
      {"KAPITAL", 'N', 12, 0},  {"OD_GODZ", 'N', 5, 2},   {"DO_GODZ", 'N', 5, 2},    {"SOBOTA_OD", 'N', 5, 2},
      {"SOBOTA_DO", 'N', 5, 2}, {"HASLO", 'C', 10, 0},    {"AB", 'C', 1, 0},         {"NR_RK", 'C', 6, 0},
      {"BMR", 'C', 5, 0},       {"FK", 'C', 16, 0},       {"KP", 'N', 8, 0},         {"KW", 'N', 8, 0},
      {"NO", 'N', 8, 0},        {"KP_KW", 'N', 8, 0},     {"KP_", 'N', 8, 0},        {"WE", 'N', 8, 0},
      {"ST", 'C', 0, 0},        {"ODDZIAL", 'C', 18, 0},  {"DEKRET", 'N', 8, 0},
  };
  for (CompanyField& f : fields)
    if (std::string_view(f.name) == "ST") f.width = station_map_width();
  return fields;
}

int field_width(std::string_view name) {
  for (const FieldSpec& f : AFIELDS())
    if (f.name == name) return f.width;
  return 0;
}

bool has_field(std::string_view name) { return FIELDPOS(name) > 0; }

}  // namespace

int station_map_width() { return FILE_X("ST99.TXT") ? 99 : 30; }

std::string company_table_structure() {
  std::string structure = "firma";
  for (const CompanyField& f : company_fields()) {
    char item[48];
    std::snprintf(item, sizeof item, ",%-10s,%c,%3d,%3d", f.name, f.type, f.width, f.decimals);
    structure += item;
  }
  return structure;
}

void TWORZ_FIRMA() { TWORZ(company_table_structure(), {}, 1); }

bool company_table_needs_upgrade(std::string_view www) {
  return !has_field("ST") || !has_field("KP_KW") || field_width("NRBO") < 40 || text_equals(www, "3") ||
         !has_field("NODB4") || !has_field("BODB4") || !has_field("NIP_KRAJ") || !has_field("KRS_NR") ||
         field_width("KRS_SAD") < 80 || !has_field("SMTP") || (FILE_X("ST99.TXT") && field_width("ST") < 99) ||
         field_width("BODB") <= 50 || (!has_field("KP_") && FILE_X("KP_.TXT"));
}

bool upgrade_company_table() {
  FileSystem& fs = file_system();
  if (fs.exists("xxx.dbf")) fs.remove("xxx.dbf");
  if (!DBCOPY("xxx")) return false;
  DBCLOSEAREA();
  fs.remove("firma.dbf");
  TWORZ_FIRMA();
  if (!fs.exists("firma.dbf") || !NET_USE("firma", "firma", true, 20)) return false;  // the records wait in xxx.dbf
  if (!DBAPP("xxx")) return false;
  DBGOTOP();
  fs.remove("xxx.dbf");
  return true;
}

}  // namespace intra
