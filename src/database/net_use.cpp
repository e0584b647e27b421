#include "database/net_use.h"

#include <string>

#include "main/ascii_case.h"
#include "screen/message_window.h"
#include "storage/table_operations.h"

namespace intra {
namespace {

constexpr double kWaitBetweenTries = 1;

// Opening these says nothing: they are the workstation's own scratch files.
bool opened_quietly(std::string_view file) {
  const std::string name = upper_ascii(file);
  return name.starts_with("ROB\\") || name.starts_with("STRUKT");
}

}  // namespace

bool NET_USE(std::string_view file, std::string_view alias, bool exclusive, int tries) {
  Console& con = console();
  const ScreenUnderMessage screen_under(con);
  if (exclusive && !opened_quietly(file)) OKNO_("Otwieram plik " + std::string(file) + ".dbf", "", con);
  for (int used = 0;;) {
    if (DBUSEAREA(file, alias, !exclusive)) return true;
    if (!NETERR()) return false;
    con.inkey(kWaitBetweenTries);
    ++used;
    if (tries != 0 && used >= tries) return false;
  }
}

}  // namespace intra
