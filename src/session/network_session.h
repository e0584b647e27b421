#pragma once
// Joining and leaving the shared database. Several workstations (this
// program and the main wholesale program) work on one directory; the
// company table firma (work area 1, alias "firma") holds the station map
// that tells which station numbers are in use (session/station_map.h).
//
//   const int station = IN_NET(Value(1));   // 0: no station, the program ends
//   ...
//   OUT_NET();                              // the station free again, parametr.txt written
//
// IN_NET guards against a second copy when asked to (one_copy_guard.h),
// creates or upgrades the company table, and takes the exclusive open of
// it as the test of being alone:
// - alone: station 1. A map still holding marks means stations that ended
//   without freeing their position: their report text is shown on row 20
//   (" - zle wyszedl z programu"), logged in bledy.txt and the indexes are
//   to be rebuilt (INDEKSOWAC). The map is reset to "?" and "0"s. The
//   table stays open exclusively, so nobody starts while the rebuild runs.
// - beside others: the table is opened shared, the running stations are
//   shown on row 21 (" - PRACUJE"), and the first free position ("0",
//   else blank) is marked "?" under the record lock. The position is chosen
//   again once the lock is held, so two stations starting at the same
//   moment never take the same number.
// Either way a start argument mm.yy switches the company's working month
// (month_switch.h). The mark is written to disk before IN_NET returns, so
// a station that is killed afterwards leaves it for the next lone start.
//
// IN_NET sets INDEKSOWAC, PIERWSZE_WEJSCIE, M_ZO (1) and M_DBF (""), and
// may change WWW and M_DATA.
#include <optional>

#include "main/value.h"

namespace intra {

inline constexpr int kCompanyArea = 1;

// The station number, or 0 when none was obtained (the user has been told
// why). Called without an argument, a lone start always orders the index
// rebuild; the start-up calls it with 1.
int IN_NET(const std::optional<Value>& flag = std::nullopt);

// Writes "0" at position STACJA of the map under the record lock (when the
// lock cannot be had the mark stays, and the next lone start reports it),
// then writes every J_ variable into parametr.txt anew. True.
bool OUT_NET();

}  // namespace intra
