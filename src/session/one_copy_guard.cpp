#include "session/one_copy_guard.h"

#include "database/net_use.h"
#include "database/tworz.h"
#include "main/clock.h"
#include "main/run_error.h"
#include "screen/message_window.h"
#include "storage/file_system.h"
#include "storage/file_x.h"
#include "storage/table_operations.h"

namespace intra {
namespace {

constexpr const char* kGuardDirectory = "C:\\VAT_ROB";
constexpr const char* kGuardTable = "C:\\VAT_ROB\\PROGRAM";
constexpr const char* kGuardStructure =
    "C:\\VAT_ROB\\PROGRAM,NR        ,C,  1,  0,DATA      ,D,  8,  0,CZAS_IN   ,C,  8,  0,CZAS_OUT  ,C,  8,  0";

// The start's date and time in the guard's one record.
void stamp_start() {
  if (LASTREC() == 0) DBAPPEND();
  DBGOTOP();
  const LocalTime now = run_clock().local_time();
  FIELDPUT("DATA", now.date);
  FIELDPUT("CZAS_IN", now.hh_mm_ss());
  DBCOMMIT();
}

}  // namespace

void guard_one_copy() {
  if (!FILE_X("VATJEDEN.TXT")) return;
  FileSystem& fs = file_system();
  fs.make_directory(kGuardDirectory);
  const bool existed = fs.exists(std::string(kGuardTable) + ".DBF");
  DBSELECTAREA(kGuardArea);
  if (existed) {
    if (!NET_USE(kGuardTable, "program", true, 1)) {
      OKNO_("Program juz otwarty na pasku", 5);
      throw QuitProgram{0};
    }
    stamp_start();
    return;
  }
  TWORZ(kGuardStructure, {}, 9);
  if (!fs.exists(std::string(kGuardTable) + ".DBF") || !NET_USE(kGuardTable, "program", true, 1)) {
    OKNO_("Co jest grane ?", 5);
    return;
  }
  stamp_start();
}

}  // namespace intra
