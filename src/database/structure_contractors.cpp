// The contractor registers: customers `zo` (kind O), `zd` (D), `zp` (P),
// `zf` (F) and `zn`.
#include "database/structures.h"

#include "database/structure_fields.h"

namespace intra {

namespace {

// `zd`; `zp` leaves out NODB1; `zf` has NODB1 only with LUDRENA.TXT and
// KOMU and AUTO after KIER.
std::vector<FieldSpec> register_fields(bool nodb1, bool komu_auto) {
  FieldList f;
  f.C("ODB", 8);
  f.C("NODB", 50);
  f.C("NODB1", 50, nodb1);
  f.C("UODB", 25);
  f.C("KODB", 6);
  f.C("MODB", 20);
  f.C("BODB", 30);
  f.C("NRBO", 40);
  f.N("BOWN", 15, 2);
  f.N("BOMA", 15, 2);
  f.N("OBNAWN", 15, 2);
  f.N("OBNAMA", 15, 2);
  f.N("OBWN", 15, 2);
  f.N("OBMA", 15, 2);
  f.N("POWN", 15, 2);
  f.N("POMA", 15, 2);
  f.C("NIP_KRAJ", 2);
  f.C("REGON", 13);
  f.C("NIP1", 1);
  f.C("TEL", 20);
  f.C("NOTES", 60);
  f.C("K_E", 1);
  f.C("KIER", 3);
  f.C("KOMU", 8, komu_auto);
  f.C("AUTO", 8, komu_auto);
  f.C("SPZ", 1);
  f.N("TEZ", 4, 0);
  f.N("KREDYT", 9, 0);
  f.C("E_MAIL", 40);
  f.C("E_UWAGI", 50);
  f.C("NR_INI", 1);
  f.D("DATA_INI");
  return f.fields();
}

}  // namespace

std::vector<FieldSpec> zo_structure(const StructureConditions& c) {
  const bool c1 = c.marker("NODB2.TXT");
  const bool c2 = c.marker("RABAT2ZO.TXT");
  const bool c3 = c.marker("TARGET.TXT");
  const bool c4 = c.marker("GAL1.TXT");
  const bool c5 = c.marker("PLATNIK.TXT");
  const bool c6 = c.marker("REGION.TXT");
  const bool c7 = c.marker("LOJAL.TXT");

  FieldList f;
  f.C("ODB", 8);
  f.C("NODB", 50);
  f.C("NODB1", 50);
  f.C("NODB2", 50, c1);  // [1]
  f.C("UODB", 25);
  f.C("KODB", 6);
  f.C("MODB", 20);
  f.C("BODB", 30);
  f.C("NRBO", 40);
  f.N("BOWN", 15, 2);
  f.N("BOMA", 15, 2);
  f.N("OBNAWN", 15, 2);
  f.N("OBNAMA", 15, 2);
  f.N("OBWN", 15, 2);
  f.N("OBMA", 15, 2);
  f.N("POWN", 15, 2);
  f.N("POMA", 15, 2);
  f.C("NIP_KRAJ", 2);
  f.C("REGON", 13);
  f.C("NIP1", 1);
  f.C("TRASA", 8);
  f.C("MIEJSCE", 60);
  f.C("MIEJSCE2", 60);
  f.C("TEL", 20);
  f.C("NOTES", 60);
  f.C("K_E", 1);
  f.C("KIER", 3);
  f.C("SPZ", 1);
  f.N("TEZ", 4, 0);
  f.N("RABAT", 6, 2);
  f.N("RABAT2", 6, 2, c2);  // [2]
  f.N("RABAT3", 6, 2, c2);  // [2]
  f.N("KREDYT", 9, 0);
  f.N("KARENCJA", 3, 0);
  f.N("TARGET", 9, 0, c3);  // [3]
  f.C("GAL1", 4, c4);  // [4]
  f.C("GAL2", 4, c4);  // [4]
  f.C("PLATNIK", 8, c5);  // [5]
  f.C("REGION", 8, c6);  // [6]
  f.C("KOMU", 8);
  f.C("AUTO", 8);
  f.N("POZIOM", 1, 0);
  f.N("S_BM", 12, 2, c7);  // [7]
  f.N("R_BO", 12, 2, c7);  // [7]
  f.N("R_BM", 12, 2, c7);  // [7]
  f.N("X_BM", 12, 2, c7);  // [7]
  f.C("STOPA", 8);
  f.N("KOPIE", 1, 0);
  f.C("RD", 3);
  f.D("R_DATA");
  f.C("E_MAIL", 40);
  f.C("E_UWAGI", 50);
  f.N("ILOSC", 8, 0);
  f.D("DATA_KON");
  f.D("DATA_KO2");
  f.C("NR_INI", 1);
  f.D("DATA_INI");
  return f.fields();
}

std::vector<FieldSpec> zd_structure(const StructureConditions&) { return register_fields(true, false); }

std::vector<FieldSpec> zp_structure(const StructureConditions&) { return register_fields(false, false); }

std::vector<FieldSpec> zn_structure(const StructureConditions& c) { return zp_structure(c); }

std::vector<FieldSpec> zf_structure(const StructureConditions& c) {
  return register_fields(c.marker("LUDRENA.TXT"), true);
}

}  // namespace intra
