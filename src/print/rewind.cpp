#include "print/rewind.h"

#include <string_view>

#include "print/view_line_reader.h"

namespace intra {
namespace {

constexpr std::uint64_t kSkipped = 2;  // the CR LF that ends the line before the position

// The offset in `block` of its last CR LF, npos when none.
std::size_t last_line_end(std::string_view block) { return block.rfind("\r\n"); }

}  // namespace

std::uint64_t REWIND(File& handle, long count, std::uint64_t position) {
  char buffer[kRewindBlockSize];
  while (count > 0) {
    const bool from_start = position < kRewindBlockSize + kSkipped;
    const std::uint64_t block_start = from_start ? 0 : position - kRewindBlockSize - kSkipped;
    const std::size_t wanted = from_start ? (position > kSkipped ? static_cast<std::size_t>(position - kSkipped) : 0)
                                          : kRewindBlockSize;
    const long long got = wanted > 0 ? handle.read_at(block_start, buffer, wanted) : 0;
    if (got < 0) return 0;
    std::string_view block(buffer, static_cast<std::size_t>(got));

    std::size_t end = last_line_end(block);
    const bool any_line_end = end != std::string_view::npos;
    std::uint64_t line_end = 0;
    while (end != std::string_view::npos && count > 0) {
      line_end = block_start + end;
      block = block.substr(0, end);
      --count;
      end = last_line_end(block);
    }
    if (!any_line_end) {
      // No CR LF before the position within reach.
      if (from_start) return 0;
      --count;
      position -= kViewPieceSize;
      continue;
    }
    position = line_end + kSkipped;
  }
  return position;
}

}  // namespace intra
