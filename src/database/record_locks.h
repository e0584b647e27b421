#pragma once
// Locking and appending in the current work area with waiting: the table
// engine tries once (RLOCK, FLOCK, DBAPPEND); these keep trying for a
// number of seconds while another workstation holds the lock.
//
//   DBSELECTAREA("dowod");
//   if (!REC_LOCK(5)) { OKNO_("Rekord zajety"); return false; }
//
// One attempt at once; then, while time remains, half a second of waiting
// (a key press ends it early), half a second off the time, another attempt.
// So n seconds give 1 + 2n attempts (0.5 gives 2), and 0 seconds keeps
// trying until the lock is granted. None of them shows a message: the
// caller decides what to say.
//
// They give up at once, whatever the seconds, when waiting cannot help: the
// current area holds no table, or an append failed for another reason than
// the append lock (a write error, already put to the run's error handler
// and answered Default). Without that, 0 seconds would never end.
namespace intra {

// The current record of the current work area locked.
bool REC_LOCK(double seconds);
// The whole table of the current work area locked.
bool FIL_LOCK(double seconds);
// A new blank record appended to the current work area (and locked in
// shared use); retried while another station holds the append lock.
bool ADD_REC(double seconds);

}  // namespace intra
