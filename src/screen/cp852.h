#pragma once
// Code page 852 <-> Unicode. The program keeps all its text in code page 852
// (screen cells, tables, print files); these conversions are used wherever
// that text meets the outside world: the terminal, UTF-8 files, typed keys.
//
// Bytes 0x20..0x7E are ASCII and 0x80..0xFF come from the system's iconv
// table (built once, on first use). Bytes 0x00..0x1F and 0x7F are control
// codes in text, but on screen the program draws arrows and markers with
// them, so a screen cell shows them as the classic PC glyphs (0x18 '↑',
// 0x10 '►', 0x7F '⌂' ...; 0x00 is blank).
//
// Every function throws std::runtime_error with a readable message when the
// system has no code page 852 converter; nothing else can fail.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace intra {

// The character a screen cell holding `byte` shows: the glyph for the
// control bytes, a space for 0x00.
char32_t cp852_to_unicode(std::uint8_t byte);

// The byte for a character. Control characters map to themselves, and the
// glyphs shown for control bytes map back to those bytes (where a glyph is
// also a real code page 852 character, such as '§', the real one wins).
// Nothing for characters code page 852 does not have.
std::optional<std::uint8_t> unicode_to_cp852(char32_t c);

// How text conversion treats the bytes 0x00..0x1F and 0x7F.
enum class ControlBytes {
  Keep,      // as the same control characters: text, files, CR LF lines
  AsGlyphs,  // as the glyphs a screen cell shows, like cp852_to_unicode
};

std::string cp852_to_utf8(std::string_view text, ControlBytes controls = ControlBytes::Keep);

// Malformed UTF-8 and characters code page 852 lacks become `replacement`,
// one per character (or per malformed byte).
std::string utf8_to_cp852(std::string_view text, char replacement = '?');

// Appends the UTF-8 form of a code point (U+FFFD for one that is not valid).
void append_utf8(std::string& out, char32_t c);

// Letters of code page 852 as the system knows them: a-z and the Polish
// letters. Other bytes are left as they are.
char upper_case_852(char c);
bool is_letter_852(char c);

}  // namespace intra
