#include "database/record_locks.h"

#include <functional>

#include "screen/console.h"
#include "storage/table_operations.h"

namespace intra {
namespace {

constexpr double kPause = 0.5;

// The outcome of one attempt: done, or worth another try, or not.
enum class Attempt { Done, Busy, Failed };

bool keep_trying(double seconds, const std::function<Attempt()>& attempt) {
  const bool without_limit = seconds == 0;
  double remaining = seconds;
  for (;;) {
    switch (attempt()) {
      case Attempt::Done: return true;
      case Attempt::Failed: return false;
      case Attempt::Busy: break;
    }
    if (!without_limit && remaining <= 0) return false;
    console().inkey(kPause);
    remaining -= kPause;
  }
}

// A lock attempt: a refusal is another station's lock unless the area is
// empty or the engine reported a fault.
Attempt lock_attempt(bool (*lock)()) {
  if (!USED()) {
    lock();  // reports the empty area through the error handler
    return Attempt::Failed;
  }
  return lock() ? Attempt::Done : Attempt::Busy;
}

}  // namespace

bool REC_LOCK(double seconds) { return keep_trying(seconds, [] { return lock_attempt(&RLOCK); }); }

bool FIL_LOCK(double seconds) { return keep_trying(seconds, [] { return lock_attempt(&FLOCK); }); }

bool ADD_REC(double seconds) {
  return keep_trying(seconds, [] {
    NETERR(false);
    if (DBAPPEND()) return Attempt::Done;
    return NETERR() ? Attempt::Busy : Attempt::Failed;
  });
}

}  // namespace intra
