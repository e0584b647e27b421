#pragma once
// Small text helpers used all over the system for file names and fields.
#include <string>
#include <string_view>

namespace intra {

// A whole number as two characters: 5 -> "05", 42 -> "42"; "00" for 0 and
// anything above 99 or below -9 (station numbers, months and years in
// file names).
std::string STR2(long n);
// The text with every blank left out.
std::string USUN_SPACJE(std::string_view text);
// The text with every character that occurs in `characters` left out.
std::string USUN_ZN(std::string_view text, std::string_view characters);

}  // namespace intra
