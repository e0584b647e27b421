#pragma once
// Copies of a print file: the plain copy to a text file, a one-line text
// file, and the prepared copies for printing that begin with the Epson
// codes for 32/216-inch line spacing and elite condensed print.
#include <string_view>

#include "storage/file_system.h"

namespace intra {

// ESC "3" 0x20 and ESC "!" 0x05, written before the first line of a
// prepared copy.
inline constexpr std::string_view kCondensedPrint = "\x1b"
                                                    "3 \x1b!\x05";

// Creates or empties `target` and copies every line of `source` into it,
// each ended by CR LF. The bytes are copied as they are (a line of any
// length stays whole); a last line without a line end gets one. False
// when either file cannot be opened or a write fails.
bool KOP_TXT(std::string_view source, std::string_view target, FileSystem& fs = file_system());

// Writes `text` and CR LF into `file`, replacing what it held.
bool TWORZ_TXT(std::string_view text, std::string_view file, FileSystem& fs = file_system());

// The copy for printing after `blank_lines` empty lines: the codes, the
// line ends, every line of `source` with CR LF, and a final line end.
bool COPY_TXT(std::string_view source, std::string_view target, int blank_lines, FileSystem& fs = file_system());

// The part of `source` from the first line that begins with `from_text` to
// the first later line that begins with `to_text`, both lines included;
// lines are compared without their leading blanks and in capitals. An
// empty `from_text` starts at the first line, an empty `to_text` runs to
// the end. The codes come before the first line written; a final line end
// ends the copy (it is all there is when no line matches).
bool COPY_TXT(std::string_view source, std::string_view target, std::string_view from_text,
              std::string_view to_text, FileSystem& fs = file_system());

}  // namespace intra
