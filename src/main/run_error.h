#pragma once
// Run-time errors: every engine or run-time failure the application does not
// handle itself is described by a RunError and handed to the error handler
// of the run, which asks the user (retry, default, quit) or, in tests, a
// scripted replacement.
#include <functional>
#include <memory>
#include <string>

namespace intra {

// Operating-system error code reported for a sharing conflict (access denied).
inline constexpr int kSharingViolation = 32;

struct RunError {
  std::string description;  // "Open error", "Write error", ...
  std::string subsystem;    // "DBFNTX", "BASE", "TERM", ...
  int general_code = 0;     // 20 create, 21 open, 23 read, 24 write, ...
  int specific_code = 0;    // 1001, 1004, 2011, ...
  int os_code = 0;          // errno-like code of the failing system call
  std::string operation;    // what was being done, e.g. the file name
  bool can_retry = false;
  bool can_default = false;
  int tries = 1;

  // "DBFNTX/1001  Open error: 24\05\as.dbf (DOS Error 2)": one line for logs
  // and message boxes.
  std::string summary() const;
};

enum class ErrorAnswer { Retry, Default, Quit };

class RunErrorHandler {
 public:
  virtual ~RunErrorHandler() = default;
  virtual ErrorAnswer handle(const RunError& error) = 0;
};

// Thrown when the user chose to quit: unwinds to the entry routine, which
// runs the termination routine and ends the process with `exit_code`.
struct QuitProgram {
  int exit_code = 1;
};

// Hands the error to the installed handler. With no handler installed the
// answer is Quit. A Quit answer throws QuitProgram.
ErrorAnswer raise_run_error(const RunError& error);

// Runs `operation` until it succeeds: each failure it reports (by returning
// a RunError) goes to the handler; Retry runs the operation again, Default
// returns false without it, Quit ends the program.
bool retry_until_done(const std::function<bool(RunError&)>& operation);

void set_run_error_handler(RunErrorHandler* handler);  // nullptr: none
RunErrorHandler* run_error_handler();

}  // namespace intra
