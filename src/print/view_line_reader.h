#pragma once
// The viewer's forward line reader. It reads 750 bytes at a time like
// FREADLINE and returns the same line for every line the print file may
// hold (up to 748 bytes before its CR LF). It differs where FREADLINE
// would show nothing useful: a line of more than 748 bytes comes in pieces
// of 748 bytes, and a last line without a line end is returned as it is,
// instead of one empty line per byte.
#include <cstddef>
#include <cstdint>
#include <string>

#include "storage/file_system.h"

namespace intra {

// The width of the pieces a too long line is shown in.
inline constexpr std::size_t kViewPieceSize = 748;

// The line at `position`; `position` moves to the next line's start (or the
// next piece). At or after the end of the file, or on a read error, ""
// is returned and `position` becomes `end_of_file`.
std::string read_view_line(File& handle, std::uint64_t& position, std::uint64_t end_of_file);

}  // namespace intra
