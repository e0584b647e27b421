#include "storage/number_text.h"

#include <cmath>
#include <cstring>

#include "storage/field_codec.h"

namespace intra {
namespace {

// Below this every whole double is exact and its digits fit a long long.
constexpr double kWholeLimit = 1e15;

}  // namespace

bool write_number_text(double value, int width, int decimals, char* out) {
  if (width <= 0 || decimals < 0 || !(std::fabs(value) < kWholeLimit) || value != std::trunc(value))
    return format_number_into(value, width, decimals, out);
  // A whole number needs no rounding: its digits, then ".000" for the decimals.
  const bool negative = value < 0;
  auto magnitude = static_cast<long long>(std::fabs(value));
  char digits[20];
  int count = 0;
  do {
    digits[count++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude > 0);
  const int length = (negative ? 1 : 0) + count + (decimals > 0 ? decimals + 1 : 0);
  if (length > width) return false;
  char* p = out;
  std::memset(p, ' ', static_cast<std::size_t>(width - length));
  p += width - length;
  if (negative) *p++ = '-';
  while (count > 0) *p++ = digits[--count];
  if (decimals > 0) {
    *p++ = '.';
    std::memset(p, '0', static_cast<std::size_t>(decimals));
  }
  return true;
}

}  // namespace intra
