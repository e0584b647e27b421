#include "database/structure_string.h"

#include <cstdio>

namespace intra {

namespace {

// Right-aligned in 3; a wider number is written whole rather than cut, so
// the parser still reads the value that was meant.
std::string number3(int n) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%3d", n);
  return buffer;
}

std::string name10(const std::string& name) {
  std::string out = name;
  if (out.size() < 10) out.append(10 - out.size(), ' ');
  return out;
}

}  // namespace

std::string structure_string(std::string_view table, const std::vector<FieldSpec>& fields) {
  std::string out(table);
  for (const FieldSpec& f : fields) {
    out += ',';
    out += name10(f.name);
    out += ',';
    out += f.type;
    out += ',';
    out += number3(f.width);
    out += ',';
    out += number3(f.decimals);
  }
  return out;
}

}  // namespace intra
