#pragma once
// The run-time error handler of the workstation: shows the error in a
// message box with the answers it allows and returns the one chosen.
#include <string>
#include <vector>

#include "main/run_error.h"
#include "screen/console.h"

namespace intra {

class ScreenErrorHandler final : public RunErrorHandler {
 public:
  explicit ScreenErrorHandler(Console& con) : con_(con) {}
  ErrorAnswer handle(const RunError& error) override;

  // The box's text (lines separated by ';') and its buttons, in order.
  static std::string message_of(const RunError& error);
  static std::vector<std::string> choices_of(const RunError& error);

 private:
  Console& con_;
};

}  // namespace intra
