#pragma once
// REWIND: the backward movement of the print-file viewer. It never reads
// more than 750 bytes at a time, so moving back costs the same in a file of
// 10 KB and one of 500 MB.
//
//   std::uint64_t top = REWIND(*file, 24, position);   // 24 lines up from `position`
#include <cstddef>
#include <cstdint>

#include "storage/file_system.h"

namespace intra {

// How many bytes one backward step reads: the 750 bytes that end two bytes
// before the position (those two are the previous line's CR LF).
inline constexpr std::size_t kRewindBlockSize = 750;

// The start of the line `count` lines before `position` (the start of a
// line), or 0 when the file starts first. Within one block every CR LF
// from its end counts as one line; a block of 750 bytes without any CR LF
// (a line longer than the print file allows) counts as one line and the
// position moves back 748 bytes, as far as the viewer's pieces of such a
// line reach, so the movement always ends. A read error counts as the
// start of the file.
std::uint64_t REWIND(File& handle, long count, std::uint64_t position);

}  // namespace intra
