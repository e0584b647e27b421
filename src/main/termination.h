#pragma once
// The termination routine: whatever must be closed when the program ends,
// on every way out. Subsystems that hold open files register a closer
// (the table engine closes all work areas); AWARIA runs them, newest first,
// once each, and is safe to call again.
#include <functional>
#include <string>

namespace intra {

// Registers a closer; returns an id for unregistering it.
int on_termination(std::function<void()> closer);
void cancel_termination(int id);

// Runs every registered closer (the run's `AWARIA$`). A closer that throws
// does not stop the others.
void AWARIA();

}  // namespace intra
