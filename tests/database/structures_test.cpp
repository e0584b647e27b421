// The field lists of the tables: each table's list written out the way
// the wholesale database documents it ("`NAZWA1` C 40 [1]": an optional
// field with its condition's tag), and the structure functions compared
// with it, with no condition on and with each condition switched on; the
// string TWORZ takes written from a list, and a table created from it.
#include "database/structures.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "database/structure_string.h"
#include "database/tworz.h"
#include "database_fixture.h"
#include "storage/field_spec_string.h"

namespace intra {
namespace {

using Build = std::vector<FieldSpec> (*)(const StructureConditions&);

struct Listed {
  const char* table;
  Build build;
  const char* list;
};

// Every table's fields in order. "[n]" marks a field present when tag n
// is on, "[!n]" one present when it is off; "C K" and "C P" are the
// barcode and batch widths, and PODATEK0 is written without its width.
// dowod's one group is split into 12d (DELTORAN), 12h (its H_ fields in
// later months) and 12l (LOJAL.TXT).
const Listed kTables[] = {
    {"as", as_structure,
         "`MAG` C 1, `INDEKS` C 8, `NAZWA` C 30, `NAZWA1` C 40 [1], `JM` C 3, `SWW` C 8, `PKWIU` C 10, "
         "`CENA_01` N 16.6, `CENA0` N 16.6, `CENA_PZ` N 16.6, `CENA_UZ` N 12.2, `PODATEK0`, `UPUST0` N 6.2, "
         "`ODB` C 8, `N_BO_I` N 19.3, `N_BO_W` N 19.2, `N_P_I` N 19.3, `N_R_I` N 19.3, `B_BO_I` N 19.3, "
         "`B_BO_W` N 19.4, `B_P_I` N 19.3, `B_P_W` N 19.2, `B_R_I` N 19.3, `B_R_I_SD` N 19.3, `B_R_W` N 19.2, "
         "`CENA` N 14.2, `CENA2` N 14.2, `CENA3` N 14.2 [2], `WALUTA` C 3, `CENAM` N 14.2, `CENA2M` N 14.2, "
         "`ILOSC` N 19.3, `REZERWA` N 15.3, `REZERWA0` N 15.3, `REZERWA9` N 15.3, `REZERWA9W` N 15.3, "
         "`OP` N 7.2, `OPA_MAG1` C 1, `OPA_ILO1` N 4.2, `OPA_MAG2` C 1, `OPA_ILO2` N 2, `OPA_MAG3` C 1, "
         "`OPA_ILO3` N 4, `T_W_O_K` C 8, `PODGRUPA` C 8, `OFERTA` C 1 [!3], `PMIN` N 6, `PMAX` N 6, "
         "`PZAM` N 6, `S_Z_PZ` C 1, `DATA_PZ` D, `RD_PZ` C 3, `NRD_PZ` C 8, `TEZ_PZ` N 3, `ILOSC_PZ` N 14.3, "
         "`UBYTEK` N 4.1 [4], `UBYTEK_D1` D [4], `UBYTEK_D2` D [4], `DATA_SD` D, `ILOSC_SD` N 14.3, "
         "`RABAT_SD` N 6.2 [5], `DATA_BO` D, `DATA_ZB` D, `TEZ` N 4, `ATEST` C 23, `TOW_GRAM` N 8.3 [6], "
         "`TOW_JM` C 3 [6], `TOW_TARA` N 5.3 [7], `HEKTO` N 11.4 [8], `REFUN` N 6.2 [9], `PRODUCENT` C 20, "
         "`KRAJ` C 10, `KIER` C 3, `KOD_CN` C 10 [10], `WAR_OPAL` N 6.2 [11], `STA_AKCY` N 6.2 [11], "
         "`PARTIA` C P [12], `ILOSC_P` N 10.3 [12], `ILOSC_WYD` N 10.3 [12], `TPS_P` D [12], "
         "`PARTIA2` C P [12], `ILOSC_P2` N 10.3 [12], `ILOSC_WYD2` N 10.3 [12], `TPS_P2` D [12], "
         "`PARTIA3` C P [12], `ILOSC_P3` N 10.3 [12], `ILOSC_WYD3` N 10.3 [12], `TPS_P3` D [12], "
         "`PARTIA4` C P [12], `ILOSC_P4` N 10.3 [12], `ILOSC_WYD4` N 10.3 [12], `TPS_P4` D [12], "
         "`TPS` N 3 [12], `TPSS` N 3 [12], `PARTIA_X` C 1 [12], `PARTIA_XL` C 1 [12], `PARTIA_SL` C 1 [12], "
         "`NR_SERII` C 13, `NRPARTII` C 30 [13], `WAGA` N 8.3 [14], `WAGA_OPA` C 1 [14], `SUR` C 8 [15], "
         "`KOD13` C K [16], `KOD13DISP` C K [17], `NEW_INDEKS` C 8 [18], `PROWIZJA` N 10.2 [19], "
         "`MAG1` C 1 [20], `INDEKS1` C 8 [20], `CENA_ZB` N 16.6, `DATA_INI` D, `DATA` D"},
    {"zo", zo_structure,
         "`ODB` C 8, `NODB` C 50, `NODB1` C 50, `NODB2` C 50 [1], `UODB` C 25, `KODB` C 6, `MODB` C 20, "
         "`BODB` C 30, `NRBO` C 40, `BOWN` N 15.2, `BOMA` N 15.2, `OBNAWN` N 15.2, `OBNAMA` N 15.2, "
         "`OBWN` N 15.2, `OBMA` N 15.2, `POWN` N 15.2, `POMA` N 15.2, `NIP_KRAJ` C 2, `REGON` C 13, "
         "`NIP1` C 1, `TRASA` C 8, `MIEJSCE` C 60, `MIEJSCE2` C 60, `TEL` C 20, `NOTES` C 60, `K_E` C 1, "
         "`KIER` C 3, `SPZ` C 1, `TEZ` N 4, `RABAT` N 6.2, `RABAT2` N 6.2 [2], `RABAT3` N 6.2 [2], "
         "`KREDYT` N 9, `KARENCJA` N 3, `TARGET` N 9 [3], `GAL1` C 4 [4], `GAL2` C 4 [4], `PLATNIK` C 8 [5], "
         "`REGION` C 8 [6], `KOMU` C 8, `AUTO` C 8, `POZIOM` N 1, `S_BM` N 12.2 [7], `R_BO` N 12.2 [7], "
         "`R_BM` N 12.2 [7], `X_BM` N 12.2 [7], `STOPA` C 8, `KOPIE` N 1, `RD` C 3, `R_DATA` D, "
         "`E_MAIL` C 40, `E_UWAGI` C 50, `ILOSC` N 8, `DATA_KON` D, `DATA_KO2` D, `NR_INI` C 1, `DATA_INI` D"},
    {"zd", zd_structure,
         "`ODB` C 8, `NODB` C 50, `NODB1` C 50, `UODB` C 25, `KODB` C 6, `MODB` C 20, `BODB` C 30, "
         "`NRBO` C 40, `BOWN` N 15.2, `BOMA` N 15.2, `OBNAWN` N 15.2, `OBNAMA` N 15.2, `OBWN` N 15.2, "
         "`OBMA` N 15.2, `POWN` N 15.2, `POMA` N 15.2, `NIP_KRAJ` C 2, `REGON` C 13, `NIP1` C 1, `TEL` C 20, "
         "`NOTES` C 60, `K_E` C 1, `KIER` C 3, `SPZ` C 1, `TEZ` N 4, `KREDYT` N 9, `E_MAIL` C 40, "
         "`E_UWAGI` C 50, `NR_INI` C 1, `DATA_INI` D"},
    {"zp", zp_structure,
         "`ODB` C 8, `NODB` C 50, `UODB` C 25, `KODB` C 6, `MODB` C 20, `BODB` C 30, `NRBO` C 40, "
         "`BOWN` N 15.2, `BOMA` N 15.2, `OBNAWN` N 15.2, `OBNAMA` N 15.2, `OBWN` N 15.2, `OBMA` N 15.2, "
         "`POWN` N 15.2, `POMA` N 15.2, `NIP_KRAJ` C 2, `REGON` C 13, `NIP1` C 1, `TEL` C 20, `NOTES` C 60, "
         "`K_E` C 1, `KIER` C 3, `SPZ` C 1, `TEZ` N 4, `KREDYT` N 9, `E_MAIL` C 40, `E_UWAGI` C 50, "
         "`NR_INI` C 1, `DATA_INI` D"},
    {"zn", zn_structure,
         "`ODB` C 8, `NODB` C 50, `UODB` C 25, `KODB` C 6, `MODB` C 20, `BODB` C 30, `NRBO` C 40, "
         "`BOWN` N 15.2, `BOMA` N 15.2, `OBNAWN` N 15.2, `OBNAMA` N 15.2, `OBWN` N 15.2, `OBMA` N 15.2, "
         "`POWN` N 15.2, `POMA` N 15.2, `NIP_KRAJ` C 2, `REGON` C 13, `NIP1` C 1, `TEL` C 20, `NOTES` C 60, "
         "`K_E` C 1, `KIER` C 3, `SPZ` C 1, `TEZ` N 4, `KREDYT` N 9, `E_MAIL` C 40, `E_UWAGI` C 50, "
         "`NR_INI` C 1, `DATA_INI` D"},
    {"zf", zf_structure,
         "`ODB` C 8, `NODB` C 50, `NODB1` C 50 [1], `UODB` C 25, `KODB` C 6, `MODB` C 20, `BODB` C 30, "
         "`NRBO` C 40, `BOWN` N 15.2, `BOMA` N 15.2, `OBNAWN` N 15.2, `OBNAMA` N 15.2, `OBWN` N 15.2, "
         "`OBMA` N 15.2, `POWN` N 15.2, `POMA` N 15.2, `NIP_KRAJ` C 2, `REGON` C 13, `NIP1` C 1, `TEL` C 20, "
         "`NOTES` C 60, `K_E` C 1, `KIER` C 3, `KOMU` C 8, `AUTO` C 8, `SPZ` C 1, `TEZ` N 4, `KREDYT` N 9, "
         "`E_MAIL` C 40, `E_UWAGI` C 50, `NR_INI` C 1, `DATA_INI` D"},
    {"dow", dow_structure,
         "`R_P` C 1, `S_Z` C 1, `RD` C 3, `NRD` C 8, `DATA` D, `MAG` C 1, `LP` C 3, `KTO` C 1, `ODB` C 8, "
         "`INDEKS` C 8, `NAZWA` C 30, `NAZWA1` C 16 [1], `NAZWA_EX` C 30, `JM` C 3, `UPUST0` N 5.1, "
         "`CENA0` N 16.6, `CENA` N 16.6, `NB` C 1, `ILOSC` N 15.3, `WARTOSC` N 18.2, `PODATEK0`, "
         "`PODATEK` N 14.2, `KOMU` C 1, `AUTO` C 8, `SWW` C 8, `PKWIU` C 10, `DOLAR_I` N 14.2, `NR` C 1, "
         "`WYDANO` N 15.3 [2], `WAGOWY` C 1 [2], `W5_DATA` D [2], `W5_CZAS` C 5 [2], `PARTIA` C P [3], "
         "`TPS_P` D [3], `WYDANO2` N 10.3 [4], `PARTIA2` C P [4], `TPS_P2` D [4], `KOD13` C K [5], "
         "`NR_SERII` C 13 [6], `DATA_PRZY` D [7], `NRPARTII` C 30 [8], `UWAGI` C 50 [9], "
         "`PROWIZJA` N 10.2 [10], `CENA_N` N 14.2, `CENA_B` N 14.2"},
    {"dowod", dowod_structure,
         "`R_P` C 1, `S_Z` C 1, `RD` C 3, `NRD` C 8, `DATA` D, `DATA_WYD` D, `MAG` C 1, `KTO` C 1, `ODB` C 8, "
         "`NIP_KRAJ` C 2, `REGON` C 13, `NODB` C 50, `NODB1` C 50, `NODB2` C 50 [1], `UODB` C 25, `KODB` C 6, "
         "`MODB` C 20, `ODBIORCA` C 254, `ODBIORC_` C 254 [2], `ODBIOR__` C 254 [2], `ODBIO___` C 254 [2], "
         "`ODBIORC1` C 254 [3], `ODBIORC1` C 50 [!3], `WARTOSC0` N 16.2, `NETTO` N 18.4, `VAT` N 14.4, "
         "`RESZTA` N 14.2, `RESZTA0` C 2, `RESZTA_P` N 10.2, `SPZ` C 1, `TEZ` N 4, `KWOTA` N 16.2, `ZAP` C 1, "
         "`OPERATOR` C 1, `KIER` C 3, `KOMU` C 8, `AUTO` C 8, `OPA` N 14.2, `NR_BANKU` N 1 [4], "
         "`ADRES` C 50 [5], `NR_ZAM` C 30 [6], `TRANSPORT` C 1 [7], `NR_SAM` C 8 [8], `JEZYK` C 1, "
         "`WALUTA_X` C 1, `WALUTA` C 3, `KURS` N 12.6, `DOLAR` N 14.2, `KURS_1` N 12.6, `B100` N 2 [9], "
         "`B50` N 2 [9], `B20` N 2 [9], `B10` N 2 [9], `B05` N 2 [9], `KOMU_ZAM` C 8 [10], "
         "`KOMU_WYK` C 8 [10], `KOMU_PLA` C 8 [10], `WAGA` N 12.3 [11], `NR1` C 1 [12d], `CON1` N 8 [12d], "
         "`NR2` C 1 [12d], `CON2` N 8 [12d], `NR3` C 1 [12d], `CON3` N 8 [12d], `H_NR` C 8 [12h], "
         "`H_CON` N 3 [12h], `H_POZ` C 1 [12h], `R_BM` N 12.2 [12l], `X_BM` N 12.2 [12l], "
         "`Y_BM` N 12.2 [12l], `DATA_FA` D, `W_DATA` D [13], `X_OPA1` N 4 [13], `X_OPA2` N 4 [13], "
         "`X_WAGA` N 12.2 [13], `Y_OPA` N 4 [13], `Y_WAGA` N 12.2 [13], `Y_X` C 1 [13], "
         "`OPERATOR_Z` C 1 [14], `ZAM_DATA` D [14], `ZAM_RD` C 3 [14], `ZAM_NRD` C 8 [14], `N22` N 12.2 [14], "
         "`V22` N 12.2 [14], `N07` N 12.2 [14], `V07` N 12.2 [14], `R_RD` C 3, `R_NRD` C 8, `R_DATA` D, "
         "`R_CZAS` C 8"},
    {"slow", slow_structure,
         "`RD` C 3, `OPIS` C 63, `R_P` C 1, `S_Z` C 1, `CUV` C 1, `NRD` N 8, `KTO` C 1, `MAG` C 1, "
         "`JPK_N` C 3, `JPK_V` C 3, `JPK_N2` C 3, `JPK_V2` C 3, `POZIOM` N 1, `WN` C 16, `MA` C 16, "
         "`N_WN` C 16, `N_MA` C 16, `V_WN` C 16, `V_MA` C 16, `N_RR_WN` C 16, `N_RR_MA` C 16, `KOMU` C 8, "
         "`GRUPA` C 8, `CDN_OPIS` C 50 [1], `CDN_RT` C 50 [1], `CDN_RV` C 1 [1], `BANK` C 8, `NB` C 1, "
         "`UZGODNIC` C 1"},
    {"fa_N", fa_n_structure,
         "`R_P` C 1, `RD` C 3, `NRD` C 8, `DATA` D, `MAG` C 1, `TRESC` C 12, `KTO` C 1, `ODB` C 8, "
         "`OBWN` N 14.2, `OBMA` N 14.2, `TERMIN` D, `SPZ` C 1, `TEZ` N 4, `WALUTA_X` C 1, `WALUTA` C 3, "
         "`KURS` N 12.6, `DOLAR` N 14.2, `KURS_1` N 12.6, `ZAP` C 1"},
    {"fa_nx", fa_nx_structure,
         "`R_P` C 1, `RD` C 3, `NRD` C 8, `DATA` D, `MAG` C 1, `TRESC` C 12, `KTO` C 1, `ODB` C 8, "
         "`OBWN` N 14.2, `OBMA` N 14.2, `TERMIN` D, `SPZ` C 1, `TEZ` N 4, `ZAP` C 1, `WALUTA_X` C 1, "
         "`WALUTA` C 3, `KURS` N 12.6, `DOLAR` N 14.2, `KURS_1` N 12.6, `R_DATA` D, `R_CZAS` C 8"},
    {"pk", pk_structure,
         "`NRKON` C 16, `CZLON` N 1, `POZIOM` N 1, `NAZWA` C 32, `KONTYP` N 1, `MAJWYN` C 1, `BOWN` N 15.2, "
         "`BOMA` N 15.2, `OBNAWN` N 15.2, `OBNAMA` N 15.2, `OBWN` N 15.2, `OBMA` N 15.2, `POWN` N 15.2, "
         "`POMA` N 15.2, `SK_WN` N 15.2"},
    {"d<NN>", document_buffer_structure,
         "`R_P` C 1, `S_Z` C 1, `RD` C 3, `NRD` C 8, `DATA` D, `MAG` C 1, `LP` C 3, `KTO` C 1, `ODB` C 8, "
         "`SPZ` C 1, `TEZ` N 4, `INDEKS` C 8, `NAZWA` C 30, `NAZWA1` C 16 [1], `NAZWA_EX` C 30, "
         "`KOD_CN` C 10, `JM` C 3, `UPUST_01` N 5.1, `UPUST0` N 5.1, `CENA0` N 16.6, `CENA` N 16.6, `NB` C 1, "
         "`ILOSC` N 14.3, `ILOSC_OPA` N 14.3, `WARTOSC` N 18.2, `PODATEK0`, `PODATEK` N 14.2, "
         "`BRUTTO` N 18.2, `ILOSC_WZ` N 14.3, `FE_CENA` N 12.2, `FE_WAL` C 3, `FE_KURS` N 12.6, "
         "`FE_NETTO` N 12.2, `KOMU` C 1, `SWW` C 8, `PKWIU` C 10, `DOLAR_I` N 14.2, `NR` C 1, `TRESC` C 12, "
         "`KOREKTA` N 14.3, `WYDANO` N 15.3 [2], `WAGOWY` C 1 [2], `W5_DATA` D [2], `W5_CZAS` C 5 [2], "
         "`PARTIA` C P [3], `TPS_P` D [3], `WYDANO2` N 10.3 [4], `PARTIA2` C P [4], `TPS_P2` D [4], "
         "`VAT_RD` C 3 [5], `VAT_NRD` C 8 [5], `VAT_DATA` D [5], `VAT_CZAS` C 5 [5], `FISKALNA` C 1, "
         "`KOD13` C K, `DOST` C 8, `CENNIK` C 1, `T_W_O_K` C 8, `PODGRUPA` C 8, `PRODUCENT` C 10, "
         "`NR_SERII` C 13 [6], `NRPARTII` C 30 [7], `UWAGI` C 50 [8], `MAG1` C 1 [9], `INDEKS1` C 8 [9], "
         "`PROWIZJA` N 10.2 [10], `ATRYBUT` C 8 [11], `WARTOSC0` N 18.2 [11], `WAGA` N 10.3, "
         "`ILOSC_EDI` N 14.3, `CENA_EDI` N 16.6, `JM_EDI` C 3, `OD_DNIA` D, `DO_DNIA` D, `CENA_PZ` N 16.6, "
         "`CENAM` N 14.2, `CENA_N` N 14.2, `CENA_B` N 14.2, `CENA2_OLD` N 14.2, `CENA2_NEW` N 14.2"},
    {"fa_n<NN>", settlement_scratch_structure,
         "`R_P` C 1, `RD` C 3, `NRD` C 8, `DATA` D, `MAG` C 1, `TRESC` C 12, `KTO` C 1, `ODB` C 8, "
         "`OBWN` N 14.2, `OBMA` N 14.2, `TERMIN` D, `SPZ` C 1, `TEZ` N 4, `ZAP` C 1"},
    {"PP", pp_structure,
         "`O_NODB` C 27, `O_NODB1` C 27, `O_LK` C 2, `O_NRBO` C 8, `O_NRBO1` C 17, `O_NRBO_R` C 7, `WP` C 2, "
         "`WALUTA_X` C 1, `WALUTA` C 3, `KWOTA` C 12, `Z_NRBO` C 27, `Z_NODB` C 27, `Z_NODB1` C 27, "
         "`TYTUL` C 27, `TYTUL1` C 27, `DATA` D, `CZAS` C 8, `OPERATOR` C 1, `DATA_2` D, `CZAS_2` C 8, "
         "`OPERATOR_2` C 1, `PRIORYTET` C 1, `ZNACZEK` C 1, `DATA_DR` D, `ODB` C 8"},
    {"opak", opak_structure,
         "`MAG` C 1, `NAZWA` C 30, `CENA` N 6.2, `MAG_OPA` C 1 [1], `INDEKS` C 8 [1], `X` C 1"},
    {"as_zb", as_zb_structure,
         "`KOD13DISP` C K, `KOD13` C K, `MAG` C 1, `INDEKS` C 8, `NAZWA` C 30, `JM` C 3, `ILOSC` N 6"},
    {"wal", wal_structure,
         "`WALUTA` C 3, `DATA` D, `KURS` N 12.6"},
    {"dostawcy", dostawcy_structure,
         "`DATA` D, `WIEPRZOWE` C 100, `WOLOWE` C 100, `DROBIOWE` C 100, `KACZE` C 100, `INDYCZE` C 100"},
    {"as_ex0", as_ex0_structure,
         "`JEZYK` C 1"},
    {"as_ex", as_ex_structure,
         "`JEZYK` C 1, `MAG` C 1, `INDEKS` C 8, `NAZWA` C 30, `NAZWA_EX` C 30"},
    {"partia20", partia20_structure,
         "`MAG` C 1, `INDEKS` C 8, `DATA_P` D, `PARTIA` C P, `TPS_P` D, `ILOSC_P` N 10.3, `ILOSC_WYD` N 10.3, "
         "`X` C 1"},
    {"fv_zam\\dow", order_lines_structure,
         "`R_P` C 1, `S_Z` C 1, `RD` C 3, `NRD` C 8, `DATA` D, `MAG` C 1, `LP` C 3, `KTO` C 1, `ODB` C 8, "
         "`INDEKS` C 8, `NAZWA` C 30, `JM` C 3, `UPUST0` N 5.1, `CENA0` N 16.6, `CENA` N 16.6, `NB` C 1, "
         "`ILOSC` N 15.3, `WARTOSC` N 18.2, `PODATEK0`, `PODATEK` N 14.2, `WW` C 2 [1], `WYDANO` N 15.3 [2], "
         "`WAGOWY` C 1 [1], `W5_DATA` D [1], `W5_CZAS` C 5 [1], `UWAGI` C 50 [3], `PARTIA` C P [4], "
         "`TPS_P` D [4], `WYDANO2` N 10.3 [5], `PARTIA2` C P [5], `TPS_P2` D [5], `KOMU` C 1, `AUTO` C 8, "
         "`SWW` C 8, `PKWIU` C 10, `DOLAR_I` N 14.2, `NR` C 1, `CENA_N` N 14.2, `CENA_B` N 14.2"},
    {"fv_zam\\dowod", order_headers_structure,
         "`R_P` C 1, `S_Z` C 1, `RD` C 3, `NRD` C 8, `DATA` D, `MAG` C 1, `KTO` C 1, `ODB` C 8, "
         "`NIP_KRAJ` C 2, `REGON` C 13, `NODB` C 50, `NODB1` C 50, `NODB2` C 50 [1], `UODB` C 25, `KODB` C 6, "
         "`MODB` C 20, `ODBIORCA` C 50, `ODBIORC1` C 50, `WARTOSC0` N 16.2, `NETTO` N 18.4, `VAT` N 14.4, "
         "`RESZTA` N 14.2, `RESZTA0` C 2, `RESZTA_P` N 10.2, `SPZ` C 1, `TEZ` N 4, `KWOTA` N 16.2, `ZAP` C 1, "
         "`OPERATOR` C 1, `KIER` C 3, `KOMU` C 8, `AUTO` C 8, `OPA` N 14.2, `ADRES` C 50, `NR_ZAM` C 30, "
         "`WALUTA_X` C 1, `WALUTA` C 3, `KURS` N 12.6, `DOLAR` N 14.2, `KURS_1` N 12.6, `WAGA` N 12.3, "
         "`DATA_FA` D, `N22` N 12.2, `V22` N 12.2, `N07` N 12.2, `V07` N 12.2, `ZAL_B` N 12.2, "
         "`ZAL_N22` N 12.2, `ZAL_V22` N 12.2, `ZAL_N07` N 12.2, `ZAL_V07` N 12.2, `REALIZACJA` D, "
         "`ARC_NR` C 1, `ARC_DATA` D, `ARC_CZAS` C 8, `NB` C 1, `WW` C 2 [2], `W_DATA` D [2], "
         "`X_OPA1` N 4 [2], `X_OPA2` N 4 [2], `X_WAGA` N 12.2 [2], `Y_OPA` N 4 [2], `Y_WAGA` N 12.2 [2], "
         "`Y_X` C 1 [2], `R_RD` C 3, `R_NRD` C 8, `R_DATA` D, `R_CZAS` C 8"},
    {"fv_zal\\dowod", advance_invoices_structure,
         "`R_P` C 1, `S_Z` C 1, `RD` C 3, `NRD` C 8, `DATA` D, `MAG` C 1, `KTO` C 1, `ODB` C 8, "
         "`NIP_KRAJ` C 2, `REGON` C 13, `NODB` C 50, `NODB1` C 50, `NODB2` C 50 [1], `UODB` C 25, `KODB` C 6, "
         "`MODB` C 20, `ODBIORCA` C 50, `ODBIORC1` C 50, `WARTOSC0` N 16.2, `NETTO` N 18.4, `VAT` N 14.4, "
         "`RESZTA` N 14.2, `RESZTA0` C 2, `RESZTA_P` N 10.2, `SPZ` C 1, `TEZ` N 4, `KWOTA` N 16.2, `ZAP` C 1, "
         "`OPERATOR` C 1, `KIER` C 3, `KOMU` C 8, `AUTO` C 8, `OPA` N 14.2, `ADRES` C 50, `NR_ZAM` C 30, "
         "`WALUTA_X` C 1, `WALUTA` C 3, `KURS` N 12.6, `DOLAR` N 14.2, `KURS_1` N 12.6, `WAGA` N 12.3, "
         "`DATA_FA` D, `DOW_DATA` D, `DOW_RD` C 3, `DOW_NRD` C 8, `ZAM_DATA` D, `ZAM_RD` C 3, `ZAM_NRD` C 8, "
         "`N22` N 12.2, `V22` N 12.2, `N07` N 12.2, `V07` N 12.2, `NB` C 1, `KORYGOWANO` D, `KONCOWA` C 1, "
         "`R_RD` C 3, `R_NRD` C 8, `R_DATA` D, `R_CZAS` C 8"},
    {"weryfika\\tow", price_checker_structure,
         "`KODPASK` C 13, `NAZWA` C 20, `CENA` C 10, `MAG` C 1 [1], `INDEKS` C 8 [1], `ILOSC` N 12.2 [2]"},
    {"akc", akc_structure,
         "`RD` C 3, `NRD` C 8, `LICZNIK` C 8, `R_DATA` D, `R_CZAS` C 8, `X_X` C 1"},
    {"cmr", cmr_structure,
         "`RD` C 3, `NRD` C 8, `DATA` D, `ODB` C 8, `P00` C 30, `P01_1` C 30, `P01_2` C 30, `P01_3` C 30, "
         "`P01_4` C 30, `P01_5` C 30, `P02_1` C 50, `P02_2` C 50, `P02_3` C 50, `P02_4` C 50, `P02_5` C 50, "
         "`P03_1` C 50, `P03_2` C 50, `P04` C 50, `P05` C 50, `P06_01` C 50, `P06_02` C 50, `P06_03` C 50, "
         "`P06_04` C 50, `P06_05` C 50, `P06_06` C 50, `P06_07` C 50, `P06_08` C 50, `P06_09` C 50, "
         "`P06_10` C 50, `P06_11` C 50, `P06_12` C 50, `P11_01` N 10.3, `P11_02` N 10.3, `P11_03` N 10.3, "
         "`P11_04` N 10.3, `P11_05` N 10.3, `P11_06` N 10.3, `P11_07` N 10.3, `P11_08` N 10.3, "
         "`P11_09` N 10.3, `P11_10` N 10.3, `P11_11` N 10.3, `P11_12` N 10.3, `P11` N 9.2, `P13` C 40, "
         "`P15` C 50, `P16_1` C 50, `P16_2` C 50, `P18_1` C 50, `P18_2` C 50, `P21` C 40, `P22` C 40, "
         "`ILOSC_POJ` N 6"},
    {"zebra", zebra_structure,
         "`JEZYK` C 1, `RODZAJ` C 3, `SZYLD1` C 60, `SZYLD2` C 60, `P01_1` C 60, `P01_2` C 60, `P01_3` C 60, "
         "`P01_4` C 60, `P01_5` C 60, `P02_1` N 3, `P02_2` N 3"},
};

const Listed& listed(const std::string& table) {
  for (const Listed& t : kTables)
    if (table == t.table) return t;
  throw std::invalid_argument("no list for table " + table);
}

struct Widths {
  int k = 13;
  int p = 5;
  int podatek0 = 2;
};

// The fields of a written list with the tags in `on` switched on.
std::vector<FieldSpec> expected_fields(const std::string& list, const std::set<std::string>& on, Widths w) {
  static const std::regex entry(R"(`(\w+)`\s*(?:([CND])\s*([\w.]*))?\s*(?:\[(!?)(\w+)\])?)");
  std::vector<FieldSpec> fields;
  for (auto it = std::sregex_iterator(list.begin(), list.end(), entry); it != std::sregex_iterator(); ++it) {
    const std::smatch& m = *it;
    if (m[5].matched && (on.count(m[5].str()) > 0) == (m[4].str() == "!")) continue;
    FieldSpec f{m[1].str(), m[2].matched ? m[2].str()[0] : 'C', 0, 0};
    const std::string size = m[3].str();
    if (f.name == "PODATEK0" && !m[2].matched) f.width = w.podatek0;
    else if (f.type == 'D') f.width = 8;
    else if (size == "K") f.width = w.k;
    else if (size == "P") f.width = w.p;
    else {
      const auto dot = size.find('.');
      f.width = std::stoi(size.substr(0, dot));
      if (dot != std::string::npos) f.decimals = std::stoi(size.substr(dot + 1));
    }
    fields.push_back(f);
  }
  return fields;
}

// "MAG C 1.0, INDEKS C 8.0": a list in one readable line for comparing.
std::string describe(const std::vector<FieldSpec>& fields) {
  std::string out;
  for (const FieldSpec& f : fields)
    out += (out.empty() ? "" : ", ") + f.name + " " + f.type + " " + std::to_string(f.width) + "." +
           std::to_string(f.decimals);
  return out;
}

StructureConditions no_markers() {
  return StructureConditions([](std::string_view) { return false; });
}

class PlainStructure : public ::testing::TestWithParam<Listed> {};

TEST_P(PlainStructure, WithoutMarkersOrNamesHasItsListWithoutOptionalFields) {
  const Listed& t = GetParam();
  const StructureConditions c = no_markers();
  EXPECT_EQ(describe(t.build(c)), describe(expected_fields(t.list, {}, {}))) << t.table;
}

INSTANTIATE_TEST_SUITE_P(EveryTable, PlainStructure, ::testing::ValuesIn(kTables));

TEST(StructureLists, FieldNamesFitTheTableHeaderAndAreUniquePerTable) {
  const StructureConditions none = no_markers();
  for (const Listed& t : kTables) {
    std::set<std::string> seen;
    for (const FieldSpec& f : t.build(none)) {
      EXPECT_LE(f.name.size(), 10u) << t.table << " " << f.name;
      EXPECT_TRUE(seen.insert(f.name).second) << t.table << " repeats " << f.name;
    }
  }
}

// One switch and the tags it turns on in one table.
struct SwitchCase {
  const char* table = "";
  std::vector<std::string> markers = {};
  CompanyNames names = {};
  std::vector<std::string> old_fields = {};
  std::vector<std::string> stock_fields = {};
  std::string month = {};
  std::set<std::string> on = {};
  Widths widths = {};
};

std::ostream& operator<<(std::ostream& out, const SwitchCase& c) {
  out << c.table << " with";
  for (const auto& m : c.markers) out << " " << m;
  for (const auto& f : c.old_fields) out << " old " << f;
  for (const auto& f : c.stock_fields) out << " stock " << f;
  return out << " [" << c.names.nodb << "|" << c.names.nodb1 << "|" << c.names.nodb2 << "|" << c.names.uodb << "] "
             << c.month;
}

StructureConditions conditions_of(const SwitchCase& sc) {
  std::set<std::string> markers(sc.markers.begin(), sc.markers.end());
  StructureConditions c([markers](std::string_view file) { return markers.count(std::string(file)) > 0; });
  c.set_company(sc.names);
  c.set_old_fields(sc.old_fields);
  c.set_stock_fields(sc.stock_fields);
  c.set_month_directory(sc.month);
  return c;
}

class SwitchedStructure : public ::testing::TestWithParam<SwitchCase> {};

TEST_P(SwitchedStructure, TurnsOnExactlyItsFieldsInTheirPlaces) {
  const SwitchCase& sc = GetParam();
  const StructureConditions c = conditions_of(sc);
  const Listed& t = listed(sc.table);
  EXPECT_EQ(describe(t.build(c)), describe(expected_fields(t.list, sc.on, sc.widths)));
}

CompanyNames name1(std::string n) { return {std::move(n), "", "", ""}; }
CompanyNames name2(std::string n) { return {"", std::move(n), "", ""}; }

INSTANTIATE_TEST_SUITE_P(
    StockItems, SwitchedStructure,
    ::testing::Values(
        SwitchCase{.table = "as", .old_fields = {"NAZWA1"}, .on = {"1"}},
        SwitchCase{.table = "as", .names = name2("hurtownia Karwel"), .on = {"1", "14"}},  // name 1-2 too
        SwitchCase{.table = "as", .markers = {"NAZWA1.AS"}, .on = {"1"}},
        SwitchCase{.table = "as", .names = name1("MIROSAN S.A."), .on = {"2"}},
        SwitchCase{.table = "as", .names = name1("Trivona"), .on = {"2"}},
        SwitchCase{.table = "as", .markers = {"CENA3.TXT"}, .on = {"2"}},
        SwitchCase{.table = "as", .names = {"HURT TOR", "BELA", "", ""}, .on = {"3"}},
        SwitchCase{.table = "as", .markers = {"UBYTEK.AS"}, .on = {"4"}},
        SwitchCase{.table = "as", .markers = {"RABAT.SD"}, .on = {"5"}},
        SwitchCase{.table = "as", .markers = {"GRAM.JM"}, .on = {"6"}},
        SwitchCase{.table = "as", .markers = {"TARA.JM"}, .on = {"7"}},
        SwitchCase{.table = "as", .markers = {"HEKTO.TXT"}, .on = {"8"}},
        SwitchCase{.table = "as", .markers = {"REFUN.TXT"}, .on = {"9"}},
        SwitchCase{.table = "as", .markers = {"KOD_CN.TXT"}, .on = {"10"}},
        SwitchCase{.table = "as", .markers = {"AKCYZA.TXT"}, .on = {"10", "11"}},
        SwitchCase{.table = "as", .markers = {"PARTIA.TXT"}, .on = {"12"}},
        SwitchCase{.table = "as", .markers = {"PARTIA.TXT", "PARTIA10.TXT"}, .on = {"12"}, .widths = {.p = 10}},
        SwitchCase{.table = "as", .markers = {"NRPARTII.TXT"}, .on = {"13"}},
        SwitchCase{.table = "as", .old_fields = {"waga_opa"}, .on = {"14"}},
        SwitchCase{.table = "as", .names = {"KAR", "WEL", "", ""}, .on = {"14"}},
        SwitchCase{.table = "as", .names = name1("Vordan"), .on = {"14"}},
        SwitchCase{.table = "as", .markers = {"WAGA.TXT"}, .on = {"14"}},
        SwitchCase{.table = "as", .old_fields = {"SUR"}, .on = {"15"}},
        SwitchCase{.table = "as", .markers = {"SUR.TXT"}, .on = {"15"}},
        SwitchCase{.table = "as", .old_fields = {"KOD13"}, .on = {"16"}},
        SwitchCase{.table = "as", .markers = {"KOD13.TXT", "KOD20.TXT", "KOD14.TXT"}, .on = {"16"},
                   .widths = {.k = 20}},
        SwitchCase{.table = "as", .markers = {"KOD13.TXT", "KOD18.TXT", "KOD16.TXT"}, .on = {"16"},
                   .widths = {.k = 18}},
        SwitchCase{.table = "as", .markers = {"KOD13.TXT", "KOD16.TXT", "KOD14.TXT"}, .on = {"16"},
                   .widths = {.k = 16}},
        SwitchCase{.table = "as", .markers = {"KOD13DIS.TXT", "KOD14.TXT"}, .on = {"17"}, .widths = {.k = 14}},
        SwitchCase{.table = "as", .markers = {"NEW_IND.TXT"}, .on = {"18"}},
        SwitchCase{.table = "as", .markers = {"PROWIZJA.TXT"}, .on = {"19"}},
        SwitchCase{.table = "as", .markers = {"INDEKS1.TXT"}, .on = {"20"}},
        SwitchCase{.table = "as", .markers = {"VAT_13_5.TXT"}, .widths = {.podatek0 = 4}}));

INSTANTIATE_TEST_SUITE_P(
    Contractors, SwitchedStructure,
    ::testing::Values(SwitchCase{.table = "zo", .markers = {"NODB2.TXT"}, .on = {"1"}},
                      SwitchCase{.table = "zo", .markers = {"RABAT2ZO.TXT"}, .on = {"2"}},
                      SwitchCase{.table = "zo", .markers = {"TARGET.TXT"}, .on = {"3"}},
                      SwitchCase{.table = "zo", .markers = {"GAL1.TXT"}, .on = {"4"}},
                      SwitchCase{.table = "zo", .markers = {"PLATNIK.TXT"}, .on = {"5"}},
                      SwitchCase{.table = "zo", .markers = {"REGION.TXT"}, .on = {"6"}},
                      SwitchCase{.table = "zo", .markers = {"LOJAL.TXT"}, .on = {"7"}},
                      SwitchCase{.table = "zf", .markers = {"LUDRENA.TXT"}, .on = {"1"}},
                      SwitchCase{.table = "zd", .markers = {"LUDRENA.TXT", "NODB2.TXT"}},
                      SwitchCase{.table = "zn", .markers = {"LUDRENA.TXT"}}));

INSTANTIATE_TEST_SUITE_P(
    DocumentLines, SwitchedStructure,
    ::testing::Values(SwitchCase{.table = "dow", .markers = {"NAZWA46.TXT"}, .on = {"1"}},
                      SwitchCase{.table = "dow", .markers = {"HALBERT.TXT"}, .on = {"2"}},
                      SwitchCase{.table = "dow", .markers = {"PARTIA.TXT", "PARTIA10.TXT"}, .on = {"3"},
                                 .widths = {.p = 10}},
                      SwitchCase{.table = "dow", .markers = {"PARTIA20.TXT"}, .on = {"4"}},
                      SwitchCase{.table = "dow", .stock_fields = {"KOD13"}, .on = {"5"}},
                      SwitchCase{.table = "dow", .markers = {"KOD13.TXT", "KOD20.TXT"}},
                      SwitchCase{.table = "dow", .markers = {"KOD18.TXT"}, .stock_fields = {"KOD13"}, .on = {"5"},
                                 .widths = {.k = 18}},
                      SwitchCase{.table = "dow", .markers = {"NR_SERII.TXT"}, .on = {"6"}},
                      SwitchCase{.table = "dow", .markers = {"KADMIR.TXT"}, .on = {"6", "7"}},
                      SwitchCase{.table = "dow", .markers = {"NRPARTII.TXT"}, .on = {"8"}},
                      SwitchCase{.table = "dow", .markers = {"UWAGI.DOW"}, .on = {"9"}},
                      SwitchCase{.table = "dow", .markers = {"PROWIZJA.TXT"}, .on = {"10"}},
                      SwitchCase{.table = "dow", .markers = {"VAT_13_5.TXT"}, .widths = {.podatek0 = 4}},
                      SwitchCase{.table = "d<NN>", .markers = {"NAZWA46.TXT"}, .on = {"1"}},
                      SwitchCase{.table = "d<NN>", .markers = {"HALBERT.TXT"}, .on = {"2"}},
                      SwitchCase{.table = "d<NN>", .markers = {"PARTIA.TXT"}, .on = {"3"}},
                      SwitchCase{.table = "d<NN>", .markers = {"PARTIA20.TXT", "PARTIA10.TXT"}, .on = {"4"},
                                 .widths = {.p = 10}},
                      SwitchCase{.table = "d<NN>", .markers = {"OPAK.DBF"}, .on = {"5"}},
                      SwitchCase{.table = "d<NN>", .markers = {"KADMIR.TXT"}, .on = {"6"}},
                      SwitchCase{.table = "d<NN>", .markers = {"NRPARTII.TXT"}, .on = {"7"}},
                      SwitchCase{.table = "d<NN>", .markers = {"UWAGI.DOW"}, .on = {"8"}},
                      SwitchCase{.table = "d<NN>", .markers = {"INDEKS1.TXT"}, .on = {"9"}},
                      SwitchCase{.table = "d<NN>", .markers = {"PROWIZJA.TXT"}, .on = {"10"}},
                      SwitchCase{.table = "d<NN>", .markers = {"DD_WAGA.TXT"}, .on = {"11"}},
                      SwitchCase{.table = "d<NN>", .markers = {"KOD16.TXT", "VAT_13_5.TXT"},
                                 .widths = {.k = 16, .podatek0 = 4}}));

INSTANTIATE_TEST_SUITE_P(
    DocumentHeaders, SwitchedStructure,
    ::testing::Values(
        SwitchCase{.table = "dowod", .markers = {"NODB2.TXT"}, .on = {"1"}},
        SwitchCase{.table = "dowod", .markers = {"WZ_LONG.TXT"}, .on = {"2"}},
        SwitchCase{.table = "dowod", .markers = {"SAFIRA.TXT"}, .on = {"3"}},
        SwitchCase{.table = "dowod", .markers = {"BELITA.TXT"}, .on = {"3"}},
        SwitchCase{.table = "dowod", .markers = {"NR_BANKU.TXT"}, .on = {"4"}},
        SwitchCase{.table = "dowod", .markers = {"ADRES.TXT"}, .on = {"5", "6"}},
        SwitchCase{.table = "dowod", .markers = {"ADRESPLA.TXT"}, .on = {"5", "6"}},
        SwitchCase{.table = "dowod", .markers = {"VORDAN.TXT"}, .on = {"5", "6"}},
        SwitchCase{.table = "dowod", .markers = {kDowodMarkerS}, .on = {"5", "6", "11"}},
        SwitchCase{.table = "dowod", .names = name1("P.H. VORDAN"), .on = {"5", "6"}},
        SwitchCase{.table = "dowod", .names = name1("P.H. Vordan")},
        SwitchCase{.table = "dowod", .names = name1("Zalesiny sp. j."), .on = {"5", "6", "7"}},
        SwitchCase{.table = "dowod", .names = {"", "", "", "ul. Werdalska 4"}, .on = {"5", "6"}},
        SwitchCase{.table = "dowod", .markers = {"MELTONA.TXT"}, .on = {"6"}},
        SwitchCase{.table = "dowod", .names = name2("kadmir"), .on = {"8"}},
        SwitchCase{.table = "dowod", .names = name1("K A D M I R s.c."), .on = {"8"}},
        SwitchCase{.table = "dowod", .names = name1("KLAMORA sp. z o.o."), .on = {"9"}},
        SwitchCase{.table = "dowod", .names = name1("KLAMORA"), .month = "05\\01"},
        SwitchCase{.table = "dowod", .markers = {"BONY.TXT"}, .on = {"9"}},
        SwitchCase{.table = "dowod", .names = name1("Deltoran"), .month = "04\\08", .on = {"10", "12d"}},
        SwitchCase{.table = "dowod", .markers = {"LOJAL.TXT"}, .names = name1("DELTORAN"), .month = "04\\09",
                   .on = {"10", "12d", "12h"}},
        SwitchCase{.table = "dowod", .names = name1("DELTORAN"), .month = "10\\01", .on = {"10", "12d", "12h"}},
        SwitchCase{.table = "dowod", .markers = {"LOJAL.TXT"}, .month = "10\\01", .on = {"12l"}},
        SwitchCase{.table = "dowod", .markers = {"WAGA_FV.TXT"}, .on = {"11"}},
        SwitchCase{.table = "dowod", .markers = {"WAL.TXT"}, .on = {"11"}},
        SwitchCase{.table = "dowod", .markers = {"WAL.DBF"}, .on = {"11"}},
        SwitchCase{.table = "dowod", .stock_fields = {"WAGA"}, .on = {"11"}},
        SwitchCase{.table = "dowod", .markers = {"HALBERT.TXT"}, .on = {"13"}},
        SwitchCase{.table = "dowod", .markers = {"FV_ZAL.TXT"}, .on = {"14"}}));

INSTANTIATE_TEST_SUITE_P(
    Others, SwitchedStructure,
    ::testing::Values(SwitchCase{.table = "slow", .markers = {"CDN_XML.TXT"}, .on = {"1"}},
                      SwitchCase{.table = "opak", .markers = {"OPAK_FO.TXT"}, .on = {"1"}},
                      SwitchCase{.table = "opak", .markers = {"OPAK_GAL.TXT"}, .on = {"1"}},
                      SwitchCase{.table = "opak", .markers = {"OPAK_AAA.TXT"}, .on = {"1"}},
                      SwitchCase{.table = "as_zb", .markers = {"KOD20.TXT"}, .widths = {.k = 20}},
                      SwitchCase{.table = "partia20", .markers = {"PARTIA10.TXT"}, .widths = {.p = 10}},
                      SwitchCase{.table = "fv_zam\\dow", .markers = {"HALBERT.TXT"}, .on = {"1", "2", "3"}},
                      SwitchCase{.table = "fv_zam\\dow", .markers = {"KARWEL.TXT"}, .on = {"2"}},
                      SwitchCase{.table = "fv_zam\\dow", .markers = {"UWAGI.DOW"}, .on = {"3"}},
                      SwitchCase{.table = "fv_zam\\dow", .markers = {"PARTIA.TXT"}, .on = {"4"}},
                      SwitchCase{.table = "fv_zam\\dow", .markers = {"PARTIA20.TXT", "VAT_13_5.TXT"}, .on = {"5"},
                                 .widths = {.podatek0 = 4}},
                      SwitchCase{.table = "fv_zam\\dowod", .markers = {"NODB2.TXT"}, .on = {"1"}},
                      SwitchCase{.table = "fv_zam\\dowod", .markers = {"HALBERT.TXT"}, .on = {"2"}},
                      SwitchCase{.table = "fv_zal\\dowod", .markers = {"NODB2.TXT"}, .on = {"1"}},
                      SwitchCase{.table = "fv_zal\\dowod", .markers = {"HALBERT.TXT"}},
                      SwitchCase{.table = "weryfika\\tow", .markers = {"WERYFIKA\\m_indeks.txt"}, .on = {"1"}},
                      SwitchCase{.table = "weryfika\\tow", .markers = {"WERYFIKA.ILO"}, .on = {"2"}}));

TEST(SpacedOut, SeparatesTheLettersBySingleBlanks) {
  EXPECT_EQ(spaced_out("KADMIR"), "K A D M I R");
  EXPECT_EQ(spaced_out("X"), "X");
  EXPECT_EQ(spaced_out(""), "");
}

// --- the string TWORZ takes, and a table created from it with the marker
// files on disk

TEST(StructureString, PadsNamesToTenAndNumbersToThree) {
  const StructureConditions none([](std::string_view) { return false; });
  EXPECT_EQ(structure_string("24\\05\\wal", wal_structure(none)),
            "24\\05\\wal,WALUTA    ,C,  3,  0,DATA      ,D,  8,  0,KURS      ,N, 12,  6");
  EXPECT_EQ(structure_string("x", {}), "x");
}

TEST(StructureString, ReadsBackAsTheSameFields) {
  const StructureConditions all([](std::string_view) { return true; });
  const auto fields = dowod_structure(all);
  std::string problem;
  const auto parsed = parse_field_spec_string(structure_string("04\\09\\dowod", fields), problem);
  ASSERT_TRUE(parsed) << problem;
  EXPECT_EQ(parsed->path, "04\\09\\dowod");
  EXPECT_EQ(describe(parsed->fields), describe(fields));
}

struct CreatedStructure : ::testing::Test, testing::DatabaseFixture {};

TEST_F(CreatedStructure, TworzMakesTheTableOfTheListWithMarkersFromDisk) {
  write_bytes("KOD20.TXT", "");
  write_bytes("kod14.txt", "");
  write_bytes("KOD13.TXT", "");
  write_bytes("partia.txt", "");
  const StructureConditions c;  // FILE_X on the run's files
  ASSERT_EQ(c.barcode_width(), 20);
  const auto fields = as_structure(c);
  ASSERT_TRUE(TWORZ(structure_string("as", fields)));
  auto table = other_station("as", true);
  ASSERT_TRUE(table);
  std::vector<FieldSpec> made;
  for (const auto& f : table->fields()) made.push_back(FieldSpec{f.name, f.type, f.width, f.decimals});
  EXPECT_EQ(describe(made), describe(fields));
  EXPECT_NE(describe(made).find("KOD13 C 20.0"), std::string::npos);
  EXPECT_NE(describe(made).find("PARTIA4 C 5.0"), std::string::npos);
}

}  // namespace
}  // namespace intra
