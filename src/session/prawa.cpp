#include "session/prawa.h"

#include <string>

#include "main/public_variables.h"

namespace intra {

bool PRAWA(int n) {
  const std::string& rights = publics().text("M_PRAWA");
  if (n < 1 || static_cast<std::size_t>(n) > rights.size()) return true;
  return rights[static_cast<std::size_t>(n) - 1] != 'N';
}

}  // namespace intra
