// The document headers `dowod` of a month: one record per document.
#include "database/structures.h"

#include "database/structure_fields.h"

namespace intra {

std::vector<FieldSpec> dowod_structure(const StructureConditions& c) {
  const bool c1 = c.marker("NODB2.TXT");
  const bool c2 = c.marker("WZ_LONG.TXT");
  const bool c3 = c.marker("SAFIRA.TXT") || c.marker("BELITA.TXT");  // ODBIORC1 254 wide, else 50
  const bool c4 = c.marker("NR_BANKU.TXT");
  const bool c5 = c.marker(kDowodMarkerS) || c.marker("ADRES.TXT") || c.marker("ADRESPLA.TXT") ||
                  c.marker("VORDAN.TXT") || c.name1_exact_has("VORDAN") || c.name1_has("ZALESINY") ||
                  c.street_has("WERDALSKA");
  const bool c6 = c5 || c.marker("MELTONA.TXT");
  const bool c7 = c.name1_has("ZALESINY");
  const bool c8 = c.name12_has("KADMIR") || c.name12_has(spaced_out("KADMIR"));
  const bool c9 = (c.name1_has("KLAMORA") && c.name1_has("O.O")) || c.marker("BONY.TXT");
  const bool c10 = c.name1_has("DELTORAN");
  const bool c11 = c.marker(kDowodMarkerS) || c.marker("WAGA_FV.TXT") || c.marker("WAL.TXT") || c.marker("WAL.DBF") ||
                   c.stock_has("WAGA");
  // [12] one group: DELTORAN's numbers (with H_NR, H_CON, H_POZ in months
  // after 04\08), otherwise the LOJAL.TXT totals, otherwise nothing.
  const bool c12_deltoran = c.name1_has("DELTORAN");
  const bool c12_deltoran_later = c12_deltoran && c.month_after("04\\08");
  const bool c12_lojal = !c12_deltoran && c.marker("LOJAL.TXT");
  const bool c13 = c.marker("HALBERT.TXT");
  const bool c14 = c.marker("FV_ZAL.TXT");

  FieldList f;
  f.C("R_P", 1);
  f.C("S_Z", 1);
  f.C("RD", 3);
  f.C("NRD", 8);
  f.D("DATA");
  f.D("DATA_WYD");
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
  f.C("ODBIORCA", 254);
  f.C("ODBIORC_", 254, c2);  // [2]
  f.C("ODBIOR__", 254, c2);  // [2]
  f.C("ODBIO___", 254, c2);  // [2]
  f.C("ODBIORC1", c3 ? 254 : 50);  // [3]
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
  f.N("NR_BANKU", 1, 0, c4);  // [4]
  f.C("ADRES", 50, c5);  // [5]
  f.C("NR_ZAM", 30, c6);  // [6]
  f.C("TRANSPORT", 1, c7);  // [7]
  f.C("NR_SAM", 8, c8);  // [8]
  f.C("JEZYK", 1);
  f.C("WALUTA_X", 1);
  f.C("WALUTA", 3);
  f.N("KURS", 12, 6);
  f.N("DOLAR", 14, 2);
  f.N("KURS_1", 12, 6);
  f.N("B100", 2, 0, c9);  // [9]
  f.N("B50", 2, 0, c9);  // [9]
  f.N("B20", 2, 0, c9);  // [9]
  f.N("B10", 2, 0, c9);  // [9]
  f.N("B05", 2, 0, c9);  // [9]
  f.C("KOMU_ZAM", 8, c10);  // [10]
  f.C("KOMU_WYK", 8, c10);  // [10]
  f.C("KOMU_PLA", 8, c10);  // [10]
  f.N("WAGA", 12, 3, c11);  // [11]
  f.C("NR1", 1, c12_deltoran);  // [12]
  f.N("CON1", 8, 0, c12_deltoran);  // [12]
  f.C("NR2", 1, c12_deltoran);  // [12]
  f.N("CON2", 8, 0, c12_deltoran);  // [12]
  f.C("NR3", 1, c12_deltoran);  // [12]
  f.N("CON3", 8, 0, c12_deltoran);  // [12]
  f.C("H_NR", 8, c12_deltoran_later);  // [12]
  f.N("H_CON", 3, 0, c12_deltoran_later);  // [12]
  f.C("H_POZ", 1, c12_deltoran_later);  // [12]
  f.N("R_BM", 12, 2, c12_lojal);  // [12]
  f.N("X_BM", 12, 2, c12_lojal);  // [12]
  f.N("Y_BM", 12, 2, c12_lojal);  // [12]
  f.D("DATA_FA");
  f.D("W_DATA", c13);  // [13]
  f.N("X_OPA1", 4, 0, c13);  // [13]
  f.N("X_OPA2", 4, 0, c13);  // [13]
  f.N("X_WAGA", 12, 2, c13);  // [13]
  f.N("Y_OPA", 4, 0, c13);  // [13]
  f.N("Y_WAGA", 12, 2, c13);  // [13]
  f.C("Y_X", 1, c13);  // [13]
  f.C("OPERATOR_Z", 1, c14);  // [14]
  f.D("ZAM_DATA", c14);  // [14]
  f.C("ZAM_RD", 3, c14);  // [14]
  f.C("ZAM_NRD", 8, c14);  // [14]
  f.N("N22", 12, 2, c14);  // [14]
  f.N("V22", 12, 2, c14);  // [14]
  f.N("N07", 12, 2, c14);  // [14]
  f.N("V07", 12, 2, c14);  // [14]
  f.C("R_RD", 3);
  f.C("R_NRD", 8);
  f.D("R_DATA");
  f.C("R_CZAS", 8);
  return f.fields();
}

}  // namespace intra
