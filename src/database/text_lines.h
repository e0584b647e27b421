#pragma once
// Line-by-line work on text files with CR LF line ends, as the creation
// log uses it:
//
//   std::uint64_t position = 0;
//   const std::string line = FREADLINE(*file, position);   // the next line, without CR LF
//
//   FDOKLEJ("DOWOD.LOG", "dowod_.txt", 10);   // the first 10 non-empty lines appended
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "storage/file_system.h"

namespace intra {

// How many bytes FREADLINE reads at a time: a line of more than 748
// characters cannot be returned whole.
inline constexpr std::size_t kLineReadSize = 750;

// The line that starts at `position`: reads up to 750 bytes from there and
// looks for the first CR LF; `position` moves to just after it and the text
// before it is returned. When the bytes read hold no CR LF (a final line
// without a line end, a line too long, the end of the file, a read error)
// `position` moves on by one byte and "" is returned, so a caller that
// reads until the file's size always comes to an end.
std::string FREADLINE(File& handle, std::uint64_t& position);

inline constexpr std::size_t kAllLines = std::numeric_limits<std::size_t>::max();

// Appends the non-empty lines of `source` to the end of `target`, each with
// CR LF, at most `max` of them. Both files must exist: when either cannot
// be opened nothing is appended (the target is never created here).
void FDOKLEJ(std::string_view target, std::string_view source, std::size_t max = kAllLines,
             FileSystem& fs = file_system());

}  // namespace intra
