#include "main/startup/public_defaults.h"

#include <string>

namespace intra {
namespace {

Value blanks(std::size_t n) { return Value::blanks(n); }
Value padded(const char* text, std::size_t width) {
  std::string s(text);
  s.resize(width, ' ');
  return Value(s);
}

struct Default {
  const char* name;
  Value value;
};

// When a configuration parameter gets its value: at once, only after the
// tables are open (declared until then), or only then and not declared before.
enum When { kAtStart, kLate, kLateNew };
struct Parameter {
  const char* name;
  Value value;
  When when = kAtStart;
};

// Configuration parameters in the order a new parameter file lists them.
std::vector<Parameter> configuration_parameters() {
  return {
      {"J_DRUKARKA", "N", kLate},
      {"J_PODATEK", "N", kLate},
      {"J_ZAKUPU", "N", kLate},
      {"J_UPUST", "N", kLate},
      {"J_PP", 1, kLate},
      {"J_PP_PLIK", blanks(10)},
      {"J_INF_UJEM", "T", kLate},
      {"J_KOREKTA_", "N", kLate},
      {"J_SREDNIA_", "N", kLate},
      {"J_ZAOKRAGL", false},
      {"J_FA_SORT", "N"},
      {"J_ORYGINAL", "T"},
      {"J_NAZWA", kSystemTitle},
      {"J_RAPORTY", blanks(60)},
      {"J_ARCHIWUM", blanks(60)},
      {"J_AUTOMAT", "N"},
      {"J_DAT_OPE", "01/01/94"},
      {"J_TIM_OPE", "07:34:00"},
      {"J_WITEK1", blanks(35)},
      {"J_WITEK2", blanks(35)},
      {"J_WITEK3", blanks(35)},
      {"J_POZIOM", 1},
      {"J_KANTY", "N"},
      {"J_NAPED", "A"},
      {"J_WALUTA", "T"},
      {"J_VAT", "23"},
      {"J_UZGADNIA", "T"},
      {"J_CDN", padded("C:\\VAT", 6 + 19)},
      {"J_FF2", blanks(29)},
      {"J_AUTO_ZAP", "N"},
      {"J_ATEST", "T"},
      {"J_ATEST_ZA", "N"},
      {"J_XKW", "KW "},
      {"J_XKP", "KP "},
      {"J_BOGATY_R", "T", kLate},
      {"J_RD", "FV ", kLate},
      {"J_FILTR", "N", kLate},
      {"J_REJ_NETT", "N", kLate},
      {"J_CENA_SR", "T", kLate},
      {"J_SD", "SD ", kLate},
      {"J_DOW1_MAG", "T", kLate},
      {"J_OPA_OPA", "T", kLate},
      {"J_CENA_BRU", "N", kLate},
      {"J_PAPIER", 10, kLate},
      {"J_MAG1DYSK", "N"},
      {"J_ATEST_DR", "N", kLate},
      {"J_OPA_DRUK", "N", kLate},
      {"J_PZ", "N", kLate},
      {"J_TOCZ_KAS", "T", kLate},
      {"J_1_KOMPUT", "N", kLate},
      {"J_MAG_GLOW", "1", kLate},
      {"J_ZM_INDEK", "N", kLate},
      {"J_DRU_RABA", "N", kLate},
      {"J_RABAT_ZB", false},
      {"J_SD_RABAT", " 2"},
      {"J_OPA", "OPA", kLate},
      {"J_SPECYFIK", "T"},
      {"J_EJECT", "N"},
      {"J_SD_RAZEM", "T", kLate},
      {"J_MAG_K", "K", kLate},
      {"J_MAG_U", "U", kLate},
      {"J_MOD_OPA", "N", kLate},
      {"J_MAG_UU", "U", kLate},
      {"J_FOLDER", blanks(12)},
      {"J_NOWE_STA", "N"},
      {"J_DRUK_IND", "N"},
      {"J_FV_SYMBO", "   "},
      {"J_KOD13_F5", "131313131313 "},
      {"J_KOD13ZN", "N"},
      {"J_I3", "2"},
      {"J_REKLAMA1", blanks(40)},
      {"J_REKLAMA2", blanks(40)},
      {"J_RAP2SK", "N"},
      {"J_RAB_POZ", "N"},
      {"J_GETNIP", "N"},
      {"J_KP_R", padded("C:\\TRUMVEL", 10 + 15)},
      {"J_ST_TEKST", blanks(80)},
      {"J_ST_TEKS1", blanks(80)},
      {"J_RK_CZYST", "N"},
      {"J_ZER_NRD", "N"},
      {"J_WIELE_W", "N"},
      {"J_MAG_DRUK", "N"},
      {"J_WW1", 0},
      {"J_WW2", 0},
      {"J_STRASZYC", "T"},
      {"J_LEN_P", 4},
      {"J_SETNAZWA", "AAAAAAAA"},
      {"J_SETZO", blanks(3)},
      {"J_SETMAG", "A"},
      {"J_SPOWOLNI", 1},
      {"J_OPA_DF", "T"},
      {"J_PTUA", "--"},
      {"J_PTUB", " 7"},
      {"J_PTUC", " 0"},
      {"J_PTUD", " 0"},
      {"J_PTUE", " 0"},
      {"J_PTUF", " 0"},
      {"J_PTUZ", "ZW"},
      {"J_ZPCHR", "N"},
      {"J_SD_SCAL", "N"},
      {"J_ODCH", "N"},
      {"J_LACH", "N"},
      {"J_KOD13W", "28"},
      {"J_INDEKS00", "  "},
      {"J_MAG00", " "},
      {"J_PRODUKCJ", blanks(40)},
      {"J_HANDEL", blanks(40)},
      {"J_USLUGI", blanks(40)},
      {"J_INNE", blanks(40)},
      {"J_FAKTORIN", "FAKTORIN.TXT"},
      {"J_GET_C_N", "T"},
      {"J_TEN_SAM", "N"},
      {"J_SKLEP", "N"},
      {"J_MIN_MAX", "N"},
      {"J_DRUK", blanks(7)},
      {"J_BOSS", kBossWord},
      {"J_SPZ", "G"},
      {"J_TEZ", 14},
      {"J_PKWIU", "N"},
      {"J_DUPLIKAT", "T"},
      {"J_MAG_DOPI", blanks(10)},
      {"J_USUN_PL", "0"},
      {"J_RABAT_AS", "T"},
      {"J_SD_GROSZ", "N"},
      {"J_WAL_AUTO", "N"},
      {"J_MIN_MARZ", 0},
      {"J_PATH", blanks(30)},
      {"J_DF", blanks(25)},
      {"J_DF_NAZWA", "DF-300  "},
      {"J_NEC1", "N"},
      {"J_NEC2", "N"},
      {"J_NEC_M1", 0},
      {"J_NEC_M2", 0},
      {"J_KOLOR", "T"},
      {"J_ZLE_UZGO", "N"},
      {"J_SD_Z1MAG", "T", kLateNew},
      {"J_DOP_UJEM", "N", kLateNew},
      {"J_BEZ_VIEW", "N", kLateNew},
  };
}

std::vector<Default> control_and_working_values(const LocalTime& start) {
  char hour[3] = {static_cast<char>('0' + start.hour / 10), static_cast<char>('0' + start.hour % 10), 0};
  return {
      // Control values of the run.
      {"WWW", ""},
      {"STACJA", 1},
      {"INDEKSOWAC", false},
      {"HH", ""},
      {"HH_OLD", ""},
      {"HH_ARC", ""},
      {"PLIK", "rob\\wydruk01.prn"},
      {"DBF", ""}, {"NTX", ""}, {"NTX1", ""}, {"NTX2", ""}, {"NTX3", ""},
      {"XXX", ""}, {"NEW", ""}, {"OLD", ""},
      {"M_DBF", ""},
      {"M_DATA", start.date},
      {"M_NAZWISKO", blanks(30)},
      {"M_PRAWA", blanks(20)},
      {"M_PRAWA1", "NNNNNNNNNNNNNNNNNNNN"},
      {"M_DRUKARKA", "EPSON"},
      {"M_WARTOSC", 0},
      {"M_ILOSC", 0},
      {"M_KIER", blanks(3)},
      {"M_RD", blanks(3)},
      {"M_NODB", blanks(50)},
      {"M_NODB1", blanks(50)},
      {"M_ZO", 2},
      {"PIERWSZE_WEJSCIE", false},
      {"BYLO_INDEKSOWANIE", false},
      {"JEST_WAGA", false},
      {"JEST_KOD13", false},
      {"JEST_NAZWA1", false},
      {"JEST_DF_300", false},
      {"JEST_POZIOM", false},
      {"JEST_SUR", "N"},
      {"JEST_WALUTA", "N"},
      {"JEST_SWW", "N"},
      {"JEST_CENA_N", "N"},
      {"JEST_OPERATOR", "N"},
      {"LEN_KOD13", 13},
      {"LJ_DF_NAZWA", ""},
      {"GETLIST", ValueList{}},
      // Working values other routines read.
      {"KLUCZ", 0},
      {"M_NR", " "},
      {"M_KTO", "O"},
      {"M_ODB", blanks(8)},
      {"M_MAG", "1"},
      {"M_INDEKS", blanks(8)},
      {"M_NAZWA", blanks(30)},
      {"M_CENA", 0},
      {"M_PKWIU", blanks(10)},
      {"M_SPZ", "G"},  // the value of J_SPZ
      {"M_TEZ", 0},
      {"M_PODATEK", 0},
      {"M_RESZTA", 0},
      {"M_T_W_O_K", blanks(8)},
      {"M_UODB", false}, {"M_KODB", false}, {"M_MODB", false}, {"M_JM", false},
      {"M_SWW", false},  {"M_PP", false},   {"M_NB", false},
      {"M_NRD", blanks(6)},
      {"M_NR_ZAM", blanks(8)},
      {"POMOC", 0},
      // Carried for the wider system; nothing here reads them.
      {"MM_NRD", false}, {"MM_RD", false}, {"GDZIE_FK", false}, {"M_TEL", false},
      {"M_REGON", false}, {"M_ODBIORCA", false}, {"M_PP0", false}, {"M_BODB", false},
      {"M_NRBO", false}, {"M_NOTES", false}, {"M_PH0", false}, {"M_POJ", false},
      {"_OD_", false}, {"_DO_", false}, {"UMC", false}, {"Z_ODF", false},
      {"M_BOWN", false}, {"M_BOMA", false}, {"M_OBNAWN", false}, {"M_OBNAMA", false},
      {"M_POWN", false}, {"M_POMA", false}, {"DOW_KOLOR", false}, {"M2_WARTOSC", false},
      {"M0_WARTOSC", false}, {"ZMIANA_KLUCZA", false},
      {"M_CENA_1", false}, {"M_CENA_2", false}, {"M_CENA_3", false}, {"M_CENA_4", false},
      {"M_CENA_5", false}, {"M_CENA_6", false}, {"M_CENA_7", false},
      {"C_PP0", false}, {"P4M", false}, {"P40", false}, {"P50", false}, {"L_P4", false},
      {"JEST_ALT_I", false}, {"JEST_SZUFLADA", false}, {"TOJESTKASA", false}, {"POWROT", false},
      {"JF_KP", 0}, {"JF_KW", 0}, {"JF_NO", 0}, {"JF_WE", 0}, {"JF_KP_KW", 0}, {"JF_KP_", 0},
      {"M_RABAT", 0}, {"M_CENA0", 0}, {"M_WPLATA", 0}, {"M_OBWN", 0}, {"M_OBMA", 0},
      {"FA_N_OBWN", 0}, {"FA_N_OBMA", 0}, {"M_SRAB", 0}, {"M_WPLACA", 0}, {"M_KOPIE", 0},
      {"M_KURS", 0}, {"M_KURS_1", 0}, {"M_ILOSC_ZB", 0}, {"M_UTARG", 0}, {"POM", 0},
      {"GDZIE", 3},
      {"M_POZIOM", 1},
      {"DF_COM", 1},
      {"PORT_ADDR", "3F8"},
      {"PORT10_ADDR", 0x3F8},  // PORT_ADDR read as hexadecimal
      {"PODSTAWA_CENA0", true},
      {"WYN_ODT", true},
      {"DOW_BLOKUJ", false},
      {"JEST_NODB1", "N"}, {"JEST_ZO_NODB1", "N"}, {"JEST_ATEST", "N"}, {"JEST_KIER", "N"},
      {"M_ODDZIAL", blanks(18)},
      {"M_KOD13", blanks(13)},
      {"M_TRESC", blanks(50)},
      {"M_PODPIS", blanks(30)},
      {"M_PODGRUPA", blanks(8)},
      {"M_NR_MAGAZYN", blanks(20)},
      {"E_ADRES", blanks(50)},
      {"E_NR_ZAM", blanks(30)},
      {"M_WAL", "   "},
      {"M_WALUTA", "   "},
      {"M_NIP_KRAJ", "  "},
      {"ILOSC_DODATNIA", " "}, {"M_WAGOWY_WEDLIN", " "}, {"M_WAGOWY_MIESA", " "}, {"M_WALUTA_X", " "},
      {"M_EFKA", ""}, {"M_STOLARSKI", ""}, {"M_RD_POMIN", ""}, {"ARC_MAGAZYN", ""},
      {"PPPPP", "31.12.99"},
      {"L_TIME", std::string(hour)},
      {"ZNAKI", accepted_name_characters()},
      // Remembered menu positions.
      {"K_SPECJALNE", 1}, {"K_RAPORTY", 1}, {"K_OBROTY", 1}, {"K_KONTRAHENCI", 1},
      {"K_TOWARY", 1}, {"K_GLOWNE", 3},
  };
}

}  // namespace

std::string accepted_name_characters() {
  std::string s = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-/\\.\"<>";
  // The Polish letters in code page 852: capital then small, A C E L N O S Z(acute) Z(dot).
  static constexpr unsigned char polish[] = {0xA4, 0xA5, 0x8F, 0x86, 0xA8, 0xA9, 0x9D, 0x88, 0xE3,
                                             0xE4, 0xE0, 0xA2, 0x97, 0x98, 0x8D, 0xAB, 0xBD, 0xBE};
  for (unsigned char c : polish) s += static_cast<char>(c);
  return s;
}

void create_public_variables(PublicVariables& vars, const LocalTime& start) {
  for (const Default& d : control_and_working_values(start)) vars.set(d.name, d.value);
  for (const Parameter& p : configuration_parameters()) {
    if (p.when == kAtStart) vars.set(p.name, p.value);
    if (p.when == kLate) vars.declare(p.name);
  }
}

void assign_late_parameters(PublicVariables& vars) {
  for (const Parameter& p : configuration_parameters())
    if (p.when != kAtStart) vars.set(p.name, p.value);
}

}  // namespace intra
