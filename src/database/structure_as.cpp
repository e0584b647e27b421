// The stock table `as`: one record per warehouse MAG and item code INDEKS.
#include "database/structures.h"

#include "database/structure_fields.h"

namespace intra {

std::vector<FieldSpec> as_structure(const StructureConditions& c) {
  const bool c1 = c.old_had("NAZWA1") || c.name2_has("KARWEL") || c.marker("NAZWA1.AS");
  const bool c2 = c.name1_has("MIROSAN") || c.name1_has("TRIVONA") || c.marker("CENA3.TXT");
  const bool c3 = !c.name12_has("TORBELA");
  const bool c4 = c.marker("UBYTEK.AS");
  const bool c5 = c.marker("RABAT.SD");
  const bool c6 = c.marker("GRAM.JM");
  const bool c7 = c.marker("TARA.JM");
  const bool c8 = c.marker("HEKTO.TXT");
  const bool c9 = c.marker("REFUN.TXT");
  const bool c10 = c.marker("AKCYZA.TXT") || c.marker("KOD_CN.TXT");
  const bool c11 = c.marker("AKCYZA.TXT");
  const bool c12 = c.marker("PARTIA.TXT");
  const bool c13 = c.marker("NRPARTII.TXT");
  const bool c14 = c.old_had("WAGA_OPA") || c.name12_has("KARWEL") || c.name1_has("VORDAN") || c.marker("WAGA.TXT");
  const bool c15 = c.old_had("SUR") || c.marker("SUR.TXT");
  const bool c16 = c.old_had("KOD13") || c.marker("KOD13.TXT");
  const bool c17 = c.marker("KOD13DIS.TXT");
  const bool c18 = c.marker("NEW_IND.TXT");
  const bool c19 = c.marker("PROWIZJA.TXT");
  const bool c20 = c.marker("INDEKS1.TXT");

  FieldList f;
  f.C("MAG", 1);
  f.C("INDEKS", 8);
  f.C("NAZWA", 30);
  f.C("NAZWA1", 40, c1);  // [1]
  f.C("JM", 3);
  f.C("SWW", 8);
  f.C("PKWIU", 10);
  f.N("CENA_01", 16, 6);
  f.N("CENA0", 16, 6);
  f.N("CENA_PZ", 16, 6);
  f.N("CENA_UZ", 12, 2);
  f.C("PODATEK0", c.podatek0_width());
  f.N("UPUST0", 6, 2);
  f.C("ODB", 8);
  f.N("N_BO_I", 19, 3);
  f.N("N_BO_W", 19, 2);
  f.N("N_P_I", 19, 3);
  f.N("N_R_I", 19, 3);
  f.N("B_BO_I", 19, 3);
  f.N("B_BO_W", 19, 4);
  f.N("B_P_I", 19, 3);
  f.N("B_P_W", 19, 2);
  f.N("B_R_I", 19, 3);
  f.N("B_R_I_SD", 19, 3);
  f.N("B_R_W", 19, 2);
  f.N("CENA", 14, 2);
  f.N("CENA2", 14, 2);
  f.N("CENA3", 14, 2, c2);  // [2]
  f.C("WALUTA", 3);
  f.N("CENAM", 14, 2);
  f.N("CENA2M", 14, 2);
  f.N("ILOSC", 19, 3);
  f.N("REZERWA", 15, 3);
  f.N("REZERWA0", 15, 3);
  f.N("REZERWA9", 15, 3);
  f.N("REZERWA9W", 15, 3);
  f.N("OP", 7, 2);
  f.C("OPA_MAG1", 1);
  f.N("OPA_ILO1", 4, 2);
  f.C("OPA_MAG2", 1);
  f.N("OPA_ILO2", 2, 0);
  f.C("OPA_MAG3", 1);
  f.N("OPA_ILO3", 4, 0);
  f.C("T_W_O_K", 8);
  f.C("PODGRUPA", 8);
  f.C("OFERTA", 1, c3);  // [3]
  f.N("PMIN", 6, 0);
  f.N("PMAX", 6, 0);
  f.N("PZAM", 6, 0);
  f.C("S_Z_PZ", 1);
  f.D("DATA_PZ");
  f.C("RD_PZ", 3);
  f.C("NRD_PZ", 8);
  f.N("TEZ_PZ", 3, 0);
  f.N("ILOSC_PZ", 14, 3);
  f.N("UBYTEK", 4, 1, c4);  // [4]
  f.D("UBYTEK_D1", c4);  // [4]
  f.D("UBYTEK_D2", c4);  // [4]
  f.D("DATA_SD");
  f.N("ILOSC_SD", 14, 3);
  f.N("RABAT_SD", 6, 2, c5);  // [5]
  f.D("DATA_BO");
  f.D("DATA_ZB");
  f.N("TEZ", 4, 0);
  f.C("ATEST", 23);
  f.N("TOW_GRAM", 8, 3, c6);  // [6]
  f.C("TOW_JM", 3, c6);  // [6]
  f.N("TOW_TARA", 5, 3, c7);  // [7]
  f.N("HEKTO", 11, 4, c8);  // [8]
  f.N("REFUN", 6, 2, c9);  // [9]
  f.C("PRODUCENT", 20);
  f.C("KRAJ", 10);
  f.C("KIER", 3);
  f.C("KOD_CN", 10, c10);  // [10]
  f.N("WAR_OPAL", 6, 2, c11);  // [11]
  f.N("STA_AKCY", 6, 2, c11);  // [11]
  f.C("PARTIA", c.batch_width(), c12);  // [12]
  f.N("ILOSC_P", 10, 3, c12);  // [12]
  f.N("ILOSC_WYD", 10, 3, c12);  // [12]
  f.D("TPS_P", c12);  // [12]
  f.C("PARTIA2", c.batch_width(), c12);  // [12]
  f.N("ILOSC_P2", 10, 3, c12);  // [12]
  f.N("ILOSC_WYD2", 10, 3, c12);  // [12]
  f.D("TPS_P2", c12);  // [12]
  f.C("PARTIA3", c.batch_width(), c12);  // [12]
  f.N("ILOSC_P3", 10, 3, c12);  // [12]
  f.N("ILOSC_WYD3", 10, 3, c12);  // [12]
  f.D("TPS_P3", c12);  // [12]
  f.C("PARTIA4", c.batch_width(), c12);  // [12]
  f.N("ILOSC_P4", 10, 3, c12);  // [12]
  f.N("ILOSC_WYD4", 10, 3, c12);  // [12]
  f.D("TPS_P4", c12);  // [12]
  f.N("TPS", 3, 0, c12);  // [12]
  f.N("TPSS", 3, 0, c12);  // [12]
  f.C("PARTIA_X", 1, c12);  // [12]
  f.C("PARTIA_XL", 1, c12);  // [12]
  f.C("PARTIA_SL", 1, c12);  // [12]
  f.C("NR_SERII", 13);
  f.C("NRPARTII", 30, c13);  // [13]
  f.N("WAGA", 8, 3, c14);  // [14]
  f.C("WAGA_OPA", 1, c14);  // [14]
  f.C("SUR", 8, c15);  // [15]
  f.C("KOD13", c.barcode_width(), c16);  // [16]
  f.C("KOD13DISP", c.barcode_width(), c17);  // [17]
  f.C("NEW_INDEKS", 8, c18);  // [18]
  f.N("PROWIZJA", 10, 2, c19);  // [19]
  f.C("MAG1", 1, c20);  // [20]
  f.C("INDEKS1", 8, c20);  // [20]
  f.N("CENA_ZB", 16, 6);
  f.D("DATA_INI");
  f.D("DATA");
  return f.fields();
}

}  // namespace intra
