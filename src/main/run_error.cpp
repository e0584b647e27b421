#include "main/run_error.h"

namespace intra {
namespace {
RunErrorHandler* g_handler = nullptr;
}

std::string RunError::summary() const {
  std::string s = subsystem + "/" + std::to_string(specific_code) + "  " + description;
  if (!operation.empty()) s += ": " + operation;
  if (os_code != 0) s += " (DOS Error " + std::to_string(os_code) + ")";
  return s;
}

ErrorAnswer raise_run_error(const RunError& error) {
  const ErrorAnswer answer = g_handler ? g_handler->handle(error) : ErrorAnswer::Quit;
  if (answer == ErrorAnswer::Quit) throw QuitProgram{1};
  return answer;
}

bool retry_until_done(const std::function<bool(RunError&)>& operation) {
  for (int tries = 1;; ++tries) {
    RunError error;
    if (operation(error)) return true;
    error.tries = tries;
    if (raise_run_error(error) != ErrorAnswer::Retry) return false;
  }
}

void set_run_error_handler(RunErrorHandler* handler) { g_handler = handler; }
RunErrorHandler* run_error_handler() { return g_handler; }

}  // namespace intra
