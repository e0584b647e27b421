#include "screen/key_names.h"

#include <string>

#include "screen/key_codes.h"

namespace intra {

bool SLOWNIK(PublicVariables& vars) {
  struct Name {
    const char* name;
    int code;
  };
  static constexpr Name kNames[] = {
      {"ESC", key::kEsc},          {"ENTER", key::kEnter},         {"F1", key::kF1},
      {"ALT_F9", key::AltF(9)},    {"KK_L", key::kLeft},          {"KK_P", key::kRight},
      {"KK_G", key::kUp},          {"KK_D", key::kDown},          {"HOME", key::kHome},
      {"_END", key::kEnd},         {"PGUP", key::kPgUp},          {"PGDN", key::kPgDn},
      {"CTRL_KK_L", key::kCtrlLeft}, {"CTRL_KK_P", key::kCtrlRight}, {"CTRL_HOME", key::kCtrlHome},
      {"CTRL_END", key::kCtrlEnd}, {"CTRL_PGUP", key::kCtrlPgUp}, {"CTRL_PGDN", key::kCtrlPgDn},
      {"INS", key::kIns},          {"DEL", key::kDel},
  };
  for (const Name& n : kNames) vars.set(n.name, n.code);
  for (int f = 2; f <= 10; ++f) vars.set("F" + std::to_string(f), key::F(f));
  return true;
}

}  // namespace intra
