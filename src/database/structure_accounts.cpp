// The accounting tables of a month: document kinds `slow`, settlements
// fa_N with their journal fa_nx, the chart of accounts `pk`, the excise
// counters `akc`, and the workstation's settlement scratch rob\fa_n<NN>.
#include "database/structures.h"

#include "database/structure_fields.h"

namespace intra {

std::vector<FieldSpec> slow_structure(const StructureConditions& c) {
  const bool c1 = c.marker("CDN_XML.TXT");

  FieldList f;
  f.C("RD", 3);
  f.C("OPIS", 63);
  f.C("R_P", 1);
  f.C("S_Z", 1);
  f.C("CUV", 1);
  f.N("NRD", 8, 0);
  f.C("KTO", 1);
  f.C("MAG", 1);
  f.C("JPK_N", 3);
  f.C("JPK_V", 3);
  f.C("JPK_N2", 3);
  f.C("JPK_V2", 3);
  f.N("POZIOM", 1, 0);
  f.C("WN", 16);
  f.C("MA", 16);
  f.C("N_WN", 16);
  f.C("N_MA", 16);
  f.C("V_WN", 16);
  f.C("V_MA", 16);
  f.C("N_RR_WN", 16);
  f.C("N_RR_MA", 16);
  f.C("KOMU", 8);
  f.C("GRUPA", 8);
  f.C("CDN_OPIS", 50, c1);  // [1]
  f.C("CDN_RT", 50, c1);  // [1]
  f.C("CDN_RV", 1, c1);  // [1]
  f.C("BANK", 8);
  f.C("NB", 1);
  f.C("UZGODNIC", 1);
  return f.fields();
}

std::vector<FieldSpec> fa_n_structure(const StructureConditions&) {
  FieldList f;
  f.C("R_P", 1);
  f.C("RD", 3);
  f.C("NRD", 8);
  f.D("DATA");
  f.C("MAG", 1);
  f.C("TRESC", 12);
  f.C("KTO", 1);
  f.C("ODB", 8);
  f.N("OBWN", 14, 2);
  f.N("OBMA", 14, 2);
  f.D("TERMIN");
  f.C("SPZ", 1);
  f.N("TEZ", 4, 0);
  f.C("WALUTA_X", 1);
  f.C("WALUTA", 3);
  f.N("KURS", 12, 6);
  f.N("DOLAR", 14, 2);
  f.N("KURS_1", 12, 6);
  f.C("ZAP", 1);
  return f.fields();
}

std::vector<FieldSpec> fa_nx_structure(const StructureConditions&) {
  FieldList f;
  f.C("R_P", 1);
  f.C("RD", 3);
  f.C("NRD", 8);
  f.D("DATA");
  f.C("MAG", 1);
  f.C("TRESC", 12);
  f.C("KTO", 1);
  f.C("ODB", 8);
  f.N("OBWN", 14, 2);
  f.N("OBMA", 14, 2);
  f.D("TERMIN");
  f.C("SPZ", 1);
  f.N("TEZ", 4, 0);
  f.C("ZAP", 1);
  f.C("WALUTA_X", 1);
  f.C("WALUTA", 3);
  f.N("KURS", 12, 6);
  f.N("DOLAR", 14, 2);
  f.N("KURS_1", 12, 6);
  f.D("R_DATA");
  f.C("R_CZAS", 8);
  return f.fields();
}

std::vector<FieldSpec> pk_structure(const StructureConditions&) {
  FieldList f;
  f.C("NRKON", 16);
  f.N("CZLON", 1, 0);
  f.N("POZIOM", 1, 0);
  f.C("NAZWA", 32);
  f.N("KONTYP", 1, 0);
  f.C("MAJWYN", 1);
  f.N("BOWN", 15, 2);
  f.N("BOMA", 15, 2);
  f.N("OBNAWN", 15, 2);
  f.N("OBNAMA", 15, 2);
  f.N("OBWN", 15, 2);
  f.N("OBMA", 15, 2);
  f.N("POWN", 15, 2);
  f.N("POMA", 15, 2);
  f.N("SK_WN", 15, 2);
  return f.fields();
}

std::vector<FieldSpec> akc_structure(const StructureConditions&) {
  FieldList f;
  f.C("RD", 3);
  f.C("NRD", 8);
  f.C("LICZNIK", 8);
  f.D("R_DATA");
  f.C("R_CZAS", 8);
  f.C("X_X", 1);
  return f.fields();
}

std::vector<FieldSpec> settlement_scratch_structure(const StructureConditions&) {
  FieldList f;
  f.C("R_P", 1);
  f.C("RD", 3);
  f.C("NRD", 8);
  f.D("DATA");
  f.C("MAG", 1);
  f.C("TRESC", 12);
  f.C("KTO", 1);
  f.C("ODB", 8);
  f.N("OBWN", 14, 2);
  f.N("OBMA", 14, 2);
  f.D("TERMIN");
  f.C("SPZ", 1);
  f.N("TEZ", 4, 0);
  f.C("ZAP", 1);
  return f.fields();
}

}  // namespace intra
