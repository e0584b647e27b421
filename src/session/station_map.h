#pragma once
// The station map: the company record's field ST, one character per
// station number (character n belongs to station n). "0" and blank mean
// free; this program marks its own position with "?"; any other character
// is the mark of a station in use (the main program writes its own marks).
//
//   map_report_text("?00 ")   == "?"        // what the user is told is running
//   first_free_position("11?0 ") == 4       // 1-based; 0 when none is free
#include <cstddef>
#include <string>
#include <string_view>

namespace intra {

// The mark this program writes at its own position.
inline constexpr char kOwnMark = '?';
// The code page's shaded block: a station whose report shows "0".
inline constexpr char kShadedZero = '\xB1';

// The map read from the first character: blanks and "0" are skipped, the
// shaded block adds "0", any other character adds itself.
std::string map_report_text(std::string_view map);

// The position of the first "0"; when there is none, of the first blank;
// 0 when neither occurs (every station taken).
std::size_t first_free_position(std::string_view map);

// The map a lone start leaves: "?" for itself (station 1) and "0" for
// every other position, as wide as `width`.
std::string lone_start_map(std::size_t width);

// `map` with `mark` at 1-based `position`; a position outside the map
// leaves it as it is.
std::string with_mark(std::string map, std::size_t position, char mark);

}  // namespace intra
