// The order tables fv_zam\dow (lines) and fv_zam\dowod (headers), and the
// advance invoices fv_zal\dowod, whose headers begin as the orders' do.
#include "database/structures.h"

#include "database/structure_fields.h"

namespace intra {

namespace {

// The headers of fv_zam\dowod from R_P to DATA_FA, shared with
// fv_zal\dowod.
void order_header_start(const StructureConditions& c, FieldList& f) {
  const bool c1 = c.marker("NODB2.TXT");

  f.C("R_P", 1);
  f.C("S_Z", 1);
  f.C("RD", 3);
  f.C("NRD", 8);
  f.D("DATA");
  f.C("MAG", 1);
  f.C("KTO", 1);
  f.C("ODB", 8);
  f.C("NIP_KRAJ", 2);
  f.C("REGON", 13);
  f.C("NODB", 50);
  f.C("NODB1", 50);
  f.C("NODB2", 50, c1);  // [1]
  f.C("UODB", 25);
  f.C("KODB", 6);
  f.C("MODB", 20);
  f.C("ODBIORCA", 50);
  f.C("ODBIORC1", 50);
  f.N("WARTOSC0", 16, 2);
  f.N("NETTO", 18, 4);
  f.N("VAT", 14, 4);
  f.N("RESZTA", 14, 2);
  f.C("RESZTA0", 2);
  f.N("RESZTA_P", 10, 2);
  f.C("SPZ", 1);
  f.N("TEZ", 4, 0);
  f.N("KWOTA", 16, 2);
  f.C("ZAP", 1);
  f.C("OPERATOR", 1);
  f.C("KIER", 3);
  f.C("KOMU", 8);
  f.C("AUTO", 8);
  f.N("OPA", 14, 2);
  f.C("ADRES", 50);
  f.C("NR_ZAM", 30);
  f.C("WALUTA_X", 1);
  f.C("WALUTA", 3);
  f.N("KURS", 12, 6);
  f.N("DOLAR", 14, 2);
  f.N("KURS_1", 12, 6);
  f.N("WAGA", 12, 3);
  f.D("DATA_FA");
}

}  // namespace

std::vector<FieldSpec> order_lines_structure(const StructureConditions& c) {
  const bool c1 = c.marker("HALBERT.TXT");
  const bool c2 = c.marker("HALBERT.TXT") || c.marker("KARWEL.TXT");
  const bool c3 = c.marker("HALBERT.TXT") || c.marker("UWAGI.DOW");
  const bool c4 = c.marker("PARTIA.TXT");
  const bool c5 = c.marker("PARTIA20.TXT");

  FieldList f;
  f.C("R_P", 1);
  f.C("S_Z", 1);
  f.C("RD", 3);
  f.C("NRD", 8);
  f.D("DATA");
  f.C("MAG", 1);
  f.C("LP", 3);
  f.C("KTO", 1);
  f.C("ODB", 8);
  f.C("INDEKS", 8);
  f.C("NAZWA", 30);
  f.C("JM", 3);
  f.N("UPUST0", 5, 1);
  f.N("CENA0", 16, 6);
  f.N("CENA", 16, 6);
  f.C("NB", 1);
  f.N("ILOSC", 15, 3);
  f.N("WARTOSC", 18, 2);
  f.C("PODATEK0", c.podatek0_width());
  f.N("PODATEK", 14, 2);
  f.C("WW", 2, c1);  // [1]
  f.N("WYDANO", 15, 3, c2);  // [2]
  f.C("WAGOWY", 1, c1);  // [1]
  f.D("W5_DATA", c1);  // [1]
  f.C("W5_CZAS", 5, c1);  // [1]
  f.C("UWAGI", 50, c3);  // [3]
  f.C("PARTIA", c.batch_width(), c4);  // [4]
  f.D("TPS_P", c4);  // [4]
  f.N("WYDANO2", 10, 3, c5);  // [5]
  f.C("PARTIA2", c.batch_width(), c5);  // [5]
  f.D("TPS_P2", c5);  // [5]
  f.C("KOMU", 1);
  f.C("AUTO", 8);
  f.C("SWW", 8);
  f.C("PKWIU", 10);
  f.N("DOLAR_I", 14, 2);
  f.C("NR", 1);
  f.N("CENA_N", 14, 2);
  f.N("CENA_B", 14, 2);
  return f.fields();
}

std::vector<FieldSpec> order_headers_structure(const StructureConditions& c) {
  const bool c2 = c.marker("HALBERT.TXT");

  FieldList f;
  order_header_start(c, f);  // R_P .. DATA_FA, [1] NODB2.TXT
  f.N("N22", 12, 2);
  f.N("V22", 12, 2);
  f.N("N07", 12, 2);
  f.N("V07", 12, 2);
  f.N("ZAL_B", 12, 2);
  f.N("ZAL_N22", 12, 2);
  f.N("ZAL_V22", 12, 2);
  f.N("ZAL_N07", 12, 2);
  f.N("ZAL_V07", 12, 2);
  f.D("REALIZACJA");
  f.C("ARC_NR", 1);
  f.D("ARC_DATA");
  f.C("ARC_CZAS", 8);
  f.C("NB", 1);
  f.C("WW", 2, c2);  // [2]
  f.D("W_DATA", c2);  // [2]
  f.N("X_OPA1", 4, 0, c2);  // [2]
  f.N("X_OPA2", 4, 0, c2);  // [2]
  f.N("X_WAGA", 12, 2, c2);  // [2]
  f.N("Y_OPA", 4, 0, c2);  // [2]
  f.N("Y_WAGA", 12, 2, c2);  // [2]
  f.C("Y_X", 1, c2);  // [2]
  f.C("R_RD", 3);
  f.C("R_NRD", 8);
  f.D("R_DATA");
  f.C("R_CZAS", 8);
  return f.fields();
}

std::vector<FieldSpec> advance_invoices_structure(const StructureConditions& c) {
  FieldList f;
  order_header_start(c, f);  // R_P .. DATA_FA as in fv_zam\dowod
  f.D("DOW_DATA");
  f.C("DOW_RD", 3);
  f.C("DOW_NRD", 8);
  f.D("ZAM_DATA");
  f.C("ZAM_RD", 3);
  f.C("ZAM_NRD", 8);
  f.N("N22", 12, 2);
  f.N("V22", 12, 2);
  f.N("N07", 12, 2);
  f.N("V07", 12, 2);
  f.C("NB", 1);
  f.D("KORYGOWANO");
  f.C("KONCOWA", 1);
  f.C("R_RD", 3);
  f.C("R_NRD", 8);
  f.D("R_DATA");
  f.C("R_CZAS", 8);
  return f.fields();
}

}  // namespace intra
