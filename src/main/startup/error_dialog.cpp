#include "main/startup/error_dialog.h"

#include "screen/alert.h"

namespace intra {

std::string ScreenErrorHandler::message_of(const RunError& error) {
  std::string text = "Error " + error.subsystem + "/" + std::to_string(error.specific_code) + ";" + error.description;
  if (!error.operation.empty()) text += ": " + error.operation;
  text += ";(general code " + std::to_string(error.general_code);
  if (error.os_code != 0) text += ", DOS Error " + std::to_string(error.os_code);
  if (error.tries > 1) text += ", try " + std::to_string(error.tries);
  text += ")";
  return text;
}

std::vector<std::string> ScreenErrorHandler::choices_of(const RunError& error) {
  std::vector<std::string> choices{"Quit"};
  if (error.can_retry) choices.push_back("Retry");
  if (error.can_default) choices.push_back("Default");
  return choices;
}

ErrorAnswer ScreenErrorHandler::handle(const RunError& error) {
  const std::vector<std::string> choices = choices_of(error);
  for (;;) {
    // Esc chooses nothing: an error is never passed over by a stray key.
    const int chosen = alert(message_of(error), choices, con_);
    if (chosen < 1 || chosen > static_cast<int>(choices.size())) continue;
    const std::string& answer = choices[static_cast<std::size_t>(chosen - 1)];
    if (answer == "Retry") return ErrorAnswer::Retry;
    if (answer == "Default") return ErrorAnswer::Default;
    return ErrorAnswer::Quit;
  }
}

}  // namespace intra
