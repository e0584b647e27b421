#include "print/print_file_name.h"

#include "database/file_erase.h"
#include "screen/text_helpers.h"

namespace intra {
namespace {

// Deleted, or not there at all. A file another open holds is left alone,
// as the network share would refuse to delete it.
bool cleared(std::string_view name, FileSystem& fs) { return erase_unless_open(fs, name); }

}  // namespace

std::string free_print_file_name(std::string_view file, FileSystem& fs) {
  const std::string given(file);
  if (cleared(given, fs)) return given;
  // The two characters before ".ext"; a name too short for them has no
  // other names to try.
  constexpr std::size_t kExtension = 4;
  if (given.size() < kExtension + 2) return given;
  const std::size_t digits = given.size() - kExtension - 2;
  for (int number = 51; number <= 99; ++number) {
    std::string candidate = given;
    candidate.replace(digits, 2, STR2(number));
    if (cleared(candidate, fs)) return candidate;
  }
  return given;
}

}  // namespace intra
