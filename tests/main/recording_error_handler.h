#pragma once
// An error handler that records every run-time error and gives one answer
// (Default unless a test sets another), so a test sees what the user would
// have been asked.
#include <vector>

#include "main/run_error.h"

namespace intra::testing {

struct RecordingHandler final : RunErrorHandler {
  std::vector<RunError> errors;
  ErrorAnswer answer = ErrorAnswer::Default;
  ErrorAnswer handle(const RunError& error) override {
    errors.push_back(error);
    return answer;
  }
};

}  // namespace intra::testing
