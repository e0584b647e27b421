// The document lines `dow` of a month and the workstation's document buffer
// rob\d<NN>, the document being edited at this workstation.
#include "database/structures.h"

#include "database/structure_fields.h"

namespace intra {

std::vector<FieldSpec> dow_structure(const StructureConditions& c) {
  const bool c1 = c.marker("NAZWA46.TXT");
  const bool c2 = c.marker("HALBERT.TXT");
  const bool c3 = c.marker("PARTIA.TXT");
  const bool c4 = c.marker("PARTIA20.TXT");
  const bool c5 = c.stock_has("KOD13");
  const bool c6 = c.marker("KADMIR.TXT") || c.marker("NR_SERII.TXT");
  const bool c7 = c.marker("KADMIR.TXT");
  const bool c8 = c.marker("NRPARTII.TXT");
  const bool c9 = c.marker("UWAGI.DOW");
  const bool c10 = c.marker("PROWIZJA.TXT");

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
  f.C("NAZWA1", 16, c1);  // [1]
  f.C("NAZWA_EX", 30);
  f.C("JM", 3);
  f.N("UPUST0", 5, 1);
  f.N("CENA0", 16, 6);
  f.N("CENA", 16, 6);
  f.C("NB", 1);
  f.N("ILOSC", 15, 3);
  f.N("WARTOSC", 18, 2);
  f.C("PODATEK0", c.podatek0_width());
  f.N("PODATEK", 14, 2);
  f.C("KOMU", 1);
  f.C("AUTO", 8);
  f.C("SWW", 8);
  f.C("PKWIU", 10);
  f.N("DOLAR_I", 14, 2);
  f.C("NR", 1);
  f.N("WYDANO", 15, 3, c2);  // [2]
  f.C("WAGOWY", 1, c2);  // [2]
  f.D("W5_DATA", c2);  // [2]
  f.C("W5_CZAS", 5, c2);  // [2]
  f.C("PARTIA", c.batch_width(), c3);  // [3]
  f.D("TPS_P", c3);  // [3]
  f.N("WYDANO2", 10, 3, c4);  // [4]
  f.C("PARTIA2", c.batch_width(), c4);  // [4]
  f.D("TPS_P2", c4);  // [4]
  f.C("KOD13", c.barcode_width(), c5);  // [5]
  f.C("NR_SERII", 13, c6);  // [6]
  f.D("DATA_PRZY", c7);  // [7]
  f.C("NRPARTII", 30, c8);  // [8]
  f.C("UWAGI", 50, c9);  // [9]
  f.N("PROWIZJA", 10, 2, c10);  // [10]
  f.N("CENA_N", 14, 2);
  f.N("CENA_B", 14, 2);
  return f.fields();
}

std::vector<FieldSpec> document_buffer_structure(const StructureConditions& c) {
  const bool c1 = c.marker("NAZWA46.TXT");
  const bool c2 = c.marker("HALBERT.TXT");
  const bool c3 = c.marker("PARTIA.TXT");
  const bool c4 = c.marker("PARTIA20.TXT");
  const bool c5 = c.marker("OPAK.DBF");
  const bool c6 = c.marker("KADMIR.TXT") || c.marker("NR_SERII.TXT");
  const bool c7 = c.marker("NRPARTII.TXT");
  const bool c8 = c.marker("UWAGI.DOW");
  const bool c9 = c.marker("INDEKS1.TXT");
  const bool c10 = c.marker("PROWIZJA.TXT");
  const bool c11 = c.marker("DD_WAGA.TXT");

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
  f.C("SPZ", 1);
  f.N("TEZ", 4, 0);
  f.C("INDEKS", 8);
  f.C("NAZWA", 30);
  f.C("NAZWA1", 16, c1);  // [1]
  f.C("NAZWA_EX", 30);
  f.C("KOD_CN", 10);
  f.C("JM", 3);
  f.N("UPUST_01", 5, 1);
  f.N("UPUST0", 5, 1);
  f.N("CENA0", 16, 6);
  f.N("CENA", 16, 6);
  f.C("NB", 1);
  f.N("ILOSC", 14, 3);
  f.N("ILOSC_OPA", 14, 3);
  f.N("WARTOSC", 18, 2);
  f.C("PODATEK0", c.podatek0_width());
  f.N("PODATEK", 14, 2);
  f.N("BRUTTO", 18, 2);
  f.N("ILOSC_WZ", 14, 3);
  f.N("FE_CENA", 12, 2);
  f.C("FE_WAL", 3);
  f.N("FE_KURS", 12, 6);
  f.N("FE_NETTO", 12, 2);
  f.C("KOMU", 1);
  f.C("SWW", 8);
  f.C("PKWIU", 10);
  f.N("DOLAR_I", 14, 2);
  f.C("NR", 1);
  f.C("TRESC", 12);
  f.N("KOREKTA", 14, 3);
  f.N("WYDANO", 15, 3, c2);  // [2]
  f.C("WAGOWY", 1, c2);  // [2]
  f.D("W5_DATA", c2);  // [2]
  f.C("W5_CZAS", 5, c2);  // [2]
  f.C("PARTIA", c.batch_width(), c3);  // [3]
  f.D("TPS_P", c3);  // [3]
  f.N("WYDANO2", 10, 3, c4);  // [4]
  f.C("PARTIA2", c.batch_width(), c4);  // [4]
  f.D("TPS_P2", c4);  // [4]
  f.C("VAT_RD", 3, c5);  // [5]
  f.C("VAT_NRD", 8, c5);  // [5]
  f.D("VAT_DATA", c5);  // [5]
  f.C("VAT_CZAS", 5, c5);  // [5]
  f.C("FISKALNA", 1);
  f.C("KOD13", c.barcode_width());
  f.C("DOST", 8);
  f.C("CENNIK", 1);
  f.C("T_W_O_K", 8);
  f.C("PODGRUPA", 8);
  f.C("PRODUCENT", 10);
  f.C("NR_SERII", 13, c6);  // [6]
  f.C("NRPARTII", 30, c7);  // [7]
  f.C("UWAGI", 50, c8);  // [8]
  f.C("MAG1", 1, c9);  // [9]
  f.C("INDEKS1", 8, c9);  // [9]
  f.N("PROWIZJA", 10, 2, c10);  // [10]
  f.C("ATRYBUT", 8, c11);  // [11]
  f.N("WARTOSC0", 18, 2, c11);  // [11]
  f.N("WAGA", 10, 3);
  f.N("ILOSC_EDI", 14, 3);
  f.N("CENA_EDI", 16, 6);
  f.C("JM_EDI", 3);
  f.D("OD_DNIA");
  f.D("DO_DNIA");
  f.N("CENA_PZ", 16, 6);
  f.N("CENAM", 14, 2);
  f.N("CENA_N", 14, 2);
  f.N("CENA_B", 14, 2);
  f.N("CENA2_OLD", 14, 2);
  f.N("CENA2_NEW", 14, 2);
  return f.fields();
}

}  // namespace intra
