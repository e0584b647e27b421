#include "session/network_session.h"

#include "database/record_locks.h"
#include "main/public_variables.h"
#include "session/station_map.h"
#include "storage/file_system.h"
#include "storage/file_x.h"
#include "storage/memory_variable_file.h"
#include "storage/table_operations.h"

namespace intra {
namespace {

// "0" at this station's position; every other position is left as the
// other stations keep it.
void free_own_position() {
  if (!USED() || FIELDPOS("ST") == 0) return;
  DBGOTOP();
  if (EOF_() || !REC_LOCK(20)) return;  // the mark stays: the next lone start reports it
  const double station = publics().number("STACJA");
  if (station >= 1) FIELDPUT("ST", with_mark(FIELDGET("ST").text(), static_cast<std::size_t>(station), '0'));
  DBCOMMIT();
  DBUNLOCK();
}

}  // namespace

bool OUT_NET() {
  const int before = SELECT();
  DBSELECTAREA(kCompanyArea);
  free_own_position();
  DBSELECTAREA(before);

  if (FILE_X("PARAMETR.TXT")) file_system().remove("PARAMETR.TXT");
  if (!FILE_X("PARAMETR.TXT")) MVSAVE("parametr.txt", "J_*", true, false);
  return true;
}

}  // namespace intra
