#include "session/network_session.h"

#include <string>

#include "database/net_use.h"
#include "database/record_locks.h"
#include "main/clock.h"
#include "main/public_variables.h"
#include "main/text_comparison.h"
#include "screen/console.h"
#include "screen/message_window.h"
#include "screen/text_helpers.h"
#include "session/company_table.h"
#include "session/doklej_txt.h"
#include "session/month_switch.h"
#include "session/one_copy_guard.h"
#include "session/station_map.h"
#include "storage/file_x.h"
#include "storage/table_operations.h"

namespace intra {
namespace {

constexpr int kReportColumn = 30;
constexpr int kLeftBadlyRow = 20;
constexpr int kWorkingRow = 21;

// The station map of the current record, as wide as the field.
std::string current_map() {
  std::string map = FIELDGET("ST").text();
  for (const FieldSpec& f : AFIELDS())
    if (f.name == "ST" && map.size() < static_cast<std::size_t>(f.width)) map.resize(static_cast<std::size_t>(f.width), ' ');
  return map;
}

std::string current_month() {
  const Date today = run_clock().local_time().date;
  return STR2(today.month()) + "." + STR2(today.year() % 100);
}

// The line of bledy.txt: "dd.mm.yyyy, hh:mm │ <report>".
std::string left_badly_log_line(const std::string& report) {
  const LocalTime now = run_clock().local_time();
  return now.date.dtoc() + ", " + now.hh_mm_ss().substr(0, 5) + " \xB3 " + report;
}

// Marks this station under the record lock; the mark reaches the disk
// before the lock goes.
void write_map_locked(const std::string& map, bool lone) {
  FIELDPUT("ST", map);
  apply_month_switch(lone);
  DBCOMMIT();
  DBUNLOCK();
}

int lone_start(bool called_with_argument) {
  PublicVariables& vars = publics();
  if (LASTREC() == 0) {
    DBAPPEND();
    FIELDPUT("BMR", current_month());
    FIELDPUT("FK", "C:\\FF");
    DBCOMMIT();
  }
  vars.set("PIERWSZE_WEJSCIE", true);
  if (company_table_needs_upgrade(vars.text("WWW")) && !upgrade_company_table() && !USED()) {
    // The new table could not be opened: its records wait in xxx.dbf.
    OKNO_("2.Mam problemy z wejsciem", 5);
    return 0;
  }
  DBGOTOP();
  const bool has_map = FIELDPOS("ST") > 0;
  const std::string map = has_map ? current_map() : std::string();
  const std::string report = map_report_text(map);
  if (!report.empty()) {
    console().say(kLeftBadlyRow, kReportColumn, report + " - zle wyszedl z programu");
    DOKLEJ_TXT("bledy.txt", left_badly_log_line(report));
    vars.set("INDEKSOWAC", true);
  } else if (!called_with_argument) {
    vars.set("INDEKSOWAC", true);
  }
  if (has_map && REC_LOCK(10)) write_map_locked(lone_start_map(map.size()), true);
  const std::string www = vars.text("WWW");
  if (text_equals(www, "CD") || text_equals(www, "cd")) vars.set("INDEKSOWAC", false);
  if (text_equals(www, "3") || text_equals(www, "888")) vars.set("INDEKSOWAC", true);
  return 1;
}

int start_beside_others() {
  if (!NET_USE("firma", "firma", false, 1)) {
    OKNO_("2.Mam problemy z wejsciem", 5);
    return 0;
  }
  // Only a lone start can give an old table its map, or an empty one its record.
  if (FIELDPOS("ST") == 0 || LASTREC() == 0) {
    OKNO_("Prosze wyjsc z programow ..", "..");
    return 0;
  }
  DBGOTOP();
  const std::string seen = current_map();
  console().say(kWorkingRow, kReportColumn, map_report_text(seen) + " - PRACUJE");
  if (first_free_position(seen) == 0) {
    OKNO_("Wszystkie stacje zajete", 5);
    return 0;
  }
  if (!REC_LOCK(20)) {
    OKNO_("1.Mam problemy z wejsciem", 5);
    return 0;
  }
  // Another station may have taken the position since it was seen: the
  // choice counts only as made under the lock.
  const std::string map = current_map();
  const std::size_t position = first_free_position(map);
  if (position == 0) {
    DBUNLOCK();
    OKNO_("Wszystkie stacje zajete", 5);
    return 0;
  }
  write_map_locked(with_mark(map, position, kOwnMark), false);
  return static_cast<int>(position);
}

}  // namespace

int IN_NET(const std::optional<Value>& flag) {
  PublicVariables& vars = publics();
  guard_one_copy();

  vars.set("M_ZO", 1);
  vars.set("M_DBF", "");
  DBSELECTAREA(kCompanyArea);
  DBCLOSEAREA();
  if (!FILE_X("FIRMA.DBF")) TWORZ_FIRMA();

  if (NET_USE("firma", "firma", true, 1)) return lone_start(flag.has_value());
  return start_beside_others();
}

}  // namespace intra
