// The auxiliary tables of the working directory (payment orders, packaging,
// barcodes, rates, suppliers, foreign names, batches, consignment notes,
// labels) and the price-checker list weryfika\tow.
#include "database/structures.h"

#include <string>

#include "database/structure_fields.h"

namespace intra {

namespace {

// "P06_" 1 2 -> "P06_01": the numbered runs of cmr and zebra, written with
// as many digits as the table has always used.
std::string numbered(const char* prefix, int n, int digits) {
  std::string number = std::to_string(n);
  if (static_cast<int>(number.size()) < digits) number.insert(0, digits - number.size(), '0');
  return prefix + number;
}

}  // namespace

std::vector<FieldSpec> pp_structure(const StructureConditions&) {
  FieldList f;
  f.C("O_NODB", 27);
  f.C("O_NODB1", 27);
  f.C("O_LK", 2);
  f.C("O_NRBO", 8);
  f.C("O_NRBO1", 17);
  f.C("O_NRBO_R", 7);
  f.C("WP", 2);
  f.C("WALUTA_X", 1);
  f.C("WALUTA", 3);
  f.C("KWOTA", 12);
  f.C("Z_NRBO", 27);
  f.C("Z_NODB", 27);
  f.C("Z_NODB1", 27);
  f.C("TYTUL", 27);
  f.C("TYTUL1", 27);
  f.D("DATA");
  f.C("CZAS", 8);
  f.C("OPERATOR", 1);
  f.D("DATA_2");
  f.C("CZAS_2", 8);
  f.C("OPERATOR_2", 1);
  f.C("PRIORYTET", 1);
  f.C("ZNACZEK", 1);
  f.D("DATA_DR");
  f.C("ODB", 8);
  return f.fields();
}

std::vector<FieldSpec> opak_structure(const StructureConditions& c) {
  const bool c1 = c.marker("OPAK_FO.TXT") || c.marker("OPAK_GAL.TXT") || c.marker("OPAK_AAA.TXT");

  FieldList f;
  f.C("MAG", 1);
  f.C("NAZWA", 30);
  f.N("CENA", 6, 2);
  f.C("MAG_OPA", 1, c1);  // [1]
  f.C("INDEKS", 8, c1);  // [1]
  f.C("X", 1);
  return f.fields();
}

std::vector<FieldSpec> as_zb_structure(const StructureConditions& c) {
  FieldList f;
  f.C("KOD13DISP", c.barcode_width());
  f.C("KOD13", c.barcode_width());
  f.C("MAG", 1);
  f.C("INDEKS", 8);
  f.C("NAZWA", 30);
  f.C("JM", 3);
  f.N("ILOSC", 6, 0);
  return f.fields();
}

std::vector<FieldSpec> wal_structure(const StructureConditions&) {
  FieldList f;
  f.C("WALUTA", 3);
  f.D("DATA");
  f.N("KURS", 12, 6);
  return f.fields();
}

std::vector<FieldSpec> dostawcy_structure(const StructureConditions&) {
  FieldList f;
  f.D("DATA");
  f.C("WIEPRZOWE", 100);
  f.C("WOLOWE", 100);
  f.C("DROBIOWE", 100);
  f.C("KACZE", 100);
  f.C("INDYCZE", 100);
  return f.fields();
}

std::vector<FieldSpec> as_ex0_structure(const StructureConditions&) {
  FieldList f;
  f.C("JEZYK", 1);
  return f.fields();
}

std::vector<FieldSpec> as_ex_structure(const StructureConditions&) {
  FieldList f;
  f.C("JEZYK", 1);
  f.C("MAG", 1);
  f.C("INDEKS", 8);
  f.C("NAZWA", 30);
  f.C("NAZWA_EX", 30);
  return f.fields();
}

std::vector<FieldSpec> partia20_structure(const StructureConditions& c) {
  FieldList f;
  f.C("MAG", 1);
  f.C("INDEKS", 8);
  f.D("DATA_P");
  f.C("PARTIA", c.batch_width());
  f.D("TPS_P");
  f.N("ILOSC_P", 10, 3);
  f.N("ILOSC_WYD", 10, 3);
  f.C("X", 1);
  return f.fields();
}

std::vector<FieldSpec> price_checker_structure(const StructureConditions& c) {
  const bool with_item = c.marker("WERYFIKA\\m_indeks.txt");
  const bool with_quantity = c.marker("WERYFIKA.ILO");

  FieldList f;
  f.C("KODPASK", 13);
  f.C("NAZWA", 20);
  f.C("CENA", 10);
  f.C("MAG", 1, with_item);
  f.C("INDEKS", 8, with_item);
  f.N("ILOSC", 12, 2, with_quantity);
  return f.fields();
}

std::vector<FieldSpec> cmr_structure(const StructureConditions&) {
  FieldList f;
  f.C("RD", 3);
  f.C("NRD", 8);
  f.D("DATA");
  f.C("ODB", 8);
  f.C("P00", 30);
  for (int i = 1; i <= 5; ++i) f.C(numbered("P01_", i, 1), 30);  // P01_1 .. P01_5
  for (int i = 1; i <= 5; ++i) f.C(numbered("P02_", i, 1), 50);  // P02_1 .. P02_5
  f.C("P03_1", 50);
  f.C("P03_2", 50);
  f.C("P04", 50);
  f.C("P05", 50);
  for (int i = 1; i <= 12; ++i) f.C(numbered("P06_", i, 2), 50);  // P06_01 .. P06_12
  for (int i = 1; i <= 12; ++i) f.N(numbered("P11_", i, 2), 10, 3);  // P11_01 .. P11_12
  f.N("P11", 9, 2);
  f.C("P13", 40);
  f.C("P15", 50);
  f.C("P16_1", 50);
  f.C("P16_2", 50);
  f.C("P18_1", 50);
  f.C("P18_2", 50);
  f.C("P21", 40);
  f.C("P22", 40);
  f.N("ILOSC_POJ", 6, 0);
  return f.fields();
}

std::vector<FieldSpec> zebra_structure(const StructureConditions&) {
  FieldList f;
  f.C("JEZYK", 1);
  f.C("RODZAJ", 3);
  f.C("SZYLD1", 60);
  f.C("SZYLD2", 60);
  for (int i = 1; i <= 5; ++i) f.C(numbered("P01_", i, 1), 60);  // P01_1 .. P01_5
  f.N("P02_1", 3, 0);
  f.N("P02_2", 3, 0);
  return f.fields();
}

}  // namespace intra
