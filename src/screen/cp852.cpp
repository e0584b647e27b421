#include "screen/cp852.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <utility>
#include <vector>

namespace intra {
namespace {

constexpr char32_t kReplacementCharacter = 0xFFFD;

// The classic PC glyphs of the control bytes 0x00..0x1F; 0x00 shows blank.
constexpr std::array<char32_t, 32> kControlGlyphs = {
    U' ', U'☺', U'☻', U'♥', U'♦', U'♣', U'♠', U'•', U'◘', U'○', U'◙', U'♂', U'♀', U'♪', U'♫', U'☼',
    U'►', U'◄', U'↕', U'‼', U'¶', U'§', U'▬', U'↨', U'↑', U'↓', U'→', U'←', U'∟', U'↔', U'▲', U'▼',
};
constexpr char32_t kDeleteGlyph = U'⌂';

struct Utf8Form {
  std::array<char, 4> bytes{};
  std::uint8_t size = 0;
};

Utf8Form encode_utf8(char32_t c) {
  if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = kReplacementCharacter;
  Utf8Form f;
  auto put = [&f](unsigned v) { f.bytes[f.size++] = static_cast<char>(static_cast<unsigned char>(v)); };
  if (c < 0x80) {
    put(c);
  } else if (c < 0x800) {
    put(0xC0 | (c >> 6));
    put(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    put(0xE0 | (c >> 12));
    put(0x80 | ((c >> 6) & 0x3F));
    put(0x80 | (c & 0x3F));
  } else {
    put(0xF0 | (c >> 18));
    put(0x80 | ((c >> 12) & 0x3F));
    put(0x80 | ((c >> 6) & 0x3F));
    put(0x80 | (c & 0x3F));
  }
  return f;
}

// The upper half of the code page as the system's converter knows it.
std::array<char32_t, 128> upper_half_from_iconv() {
  iconv_t cd = iconv_open("UTF-32LE", "CP852");
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    throw std::runtime_error(std::string("Brak konwersji strony kodowej 852 w systemie (iconv CP852: ") +
                             std::strerror(errno) + ")");
  }
  std::array<char32_t, 128> upper{};
  for (unsigned b = 0x80; b <= 0xFF; ++b) {
    char in = static_cast<char>(static_cast<unsigned char>(b));
    unsigned char out[8] = {};
    char* in_ptr = &in;
    char* out_ptr = reinterpret_cast<char*>(out);
    std::size_t in_left = 1, out_left = sizeof out;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);  // a fresh state for every byte
    const std::size_t done = iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left);
    const bool one_character = done != static_cast<std::size_t>(-1) && in_left == 0 && sizeof out - out_left == 4;
    upper[b - 0x80] = one_character ? static_cast<char32_t>(out[0] | out[1] << 8 | out[2] << 16 | out[3] << 24)
                                    : kReplacementCharacter;
  }
  iconv_close(cd);
  return upper;
}

// Built once; every conversion afterwards is a table look-up.
struct Cp852Tables {
  std::array<char32_t, 256> shown{};  // what a screen cell shows
  std::array<Utf8Form, 256> text_utf8{};
  std::array<Utf8Form, 256> shown_utf8{};
  // Non-ASCII characters to bytes, sorted by character for binary search.
  std::vector<std::pair<char32_t, std::uint8_t>> reverse;

  Cp852Tables() {
    const std::array<char32_t, 128> upper = upper_half_from_iconv();
    std::array<char32_t, 256> text{};
    for (unsigned b = 0; b < 256; ++b) {
      text[b] = b < 0x80 ? static_cast<char32_t>(b) : upper[b - 0x80];
      shown[b] = b < 0x20 ? kControlGlyphs[b] : b == 0x7F ? kDeleteGlyph : text[b];
      text_utf8[b] = encode_utf8(text[b]);
      shown_utf8[b] = encode_utf8(shown[b]);
    }
    // Real characters first, so a stable sort keeps them ahead of a glyph
    // that happens to be the same character; duplicates are then dropped.
    for (unsigned b = 0x80; b < 256; ++b)
      if (text[b] != kReplacementCharacter) reverse.emplace_back(text[b], static_cast<std::uint8_t>(b));
    for (unsigned b = 1; b < 0x20; ++b) reverse.emplace_back(kControlGlyphs[b], static_cast<std::uint8_t>(b));
    reverse.emplace_back(kDeleteGlyph, std::uint8_t{0x7F});
    std::stable_sort(reverse.begin(), reverse.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    reverse.erase(std::unique(reverse.begin(), reverse.end(),
                              [](const auto& a, const auto& b) { return a.first == b.first; }),
                  reverse.end());
  }
};

const Cp852Tables& tables() {
  static const Cp852Tables built;
  return built;
}

void append(std::string& out, const Utf8Form& f) { out.append(f.bytes.data(), f.size); }

// One code point from `text` at `pos`, advancing `pos`; nothing (and one
// byte consumed) for a malformed, overlong or surrogate sequence.
std::optional<char32_t> decode_utf8(std::string_view text, std::size_t& pos) {
  const auto lead = static_cast<unsigned char>(text[pos++]);
  if (lead < 0x80) return lead;
  int extra = 0;
  char32_t c = 0, minimum = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    extra = 1, c = lead & 0x1F, minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    extra = 2, c = lead & 0x0F, minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    extra = 3, c = lead & 0x07, minimum = 0x10000;
  } else {
    return std::nullopt;
  }
  if (pos + static_cast<std::size_t>(extra) > text.size()) return std::nullopt;
  for (int i = 0; i < extra; ++i) {
    const auto next = static_cast<unsigned char>(text[pos + static_cast<std::size_t>(i)]);
    if ((next & 0xC0) != 0x80) return std::nullopt;
    c = (c << 6) | (next & 0x3F);
  }
  if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
  pos += static_cast<std::size_t>(extra);
  return c;
}

}  // namespace

char32_t cp852_to_unicode(std::uint8_t byte) { return tables().shown[byte]; }

std::optional<std::uint8_t> unicode_to_cp852(char32_t c) {
  if (c < 0x80) return static_cast<std::uint8_t>(c);
  const auto& reverse = tables().reverse;
  const auto it = std::lower_bound(reverse.begin(), reverse.end(), c,
                                   [](const auto& entry, char32_t key) { return entry.first < key; });
  if (it == reverse.end() || it->first != c) return std::nullopt;
  return it->second;
}

std::string cp852_to_utf8(std::string_view text, ControlBytes controls) {
  const Cp852Tables& t = tables();
  const auto& forms = controls == ControlBytes::Keep ? t.text_utf8 : t.shown_utf8;
  std::string out;
  out.reserve(text.size() + text.size() / 2);
  for (char ch : text) append(out, forms[static_cast<unsigned char>(ch)]);
  return out;
}

std::string utf8_to_cp852(std::string_view text, char replacement) {
  std::string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) {
    if (static_cast<unsigned char>(text[pos]) < 0x80) {
      out.push_back(text[pos++]);
      continue;
    }
    const std::optional<char32_t> c = decode_utf8(text, pos);
    const std::optional<std::uint8_t> byte = c ? unicode_to_cp852(*c) : std::nullopt;
    out.push_back(byte ? static_cast<char>(*byte) : replacement);
  }
  return out;
}

void append_utf8(std::string& out, char32_t c) { append(out, encode_utf8(c)); }

namespace {
// Lower and upper case Polish letters of code page 852, pair by pair.
constexpr unsigned char kPolishLower[] = {0xA5, 0x86, 0xA9, 0x88, 0xE4, 0xA2, 0x98, 0xAB, 0xBE};
constexpr unsigned char kPolishUpper[] = {0xA4, 0x8F, 0xA8, 0x9D, 0xE3, 0xE0, 0x97, 0x8D, 0xBD};

}  // namespace

char upper_case_852(char c) {
  const auto u = static_cast<unsigned char>(c);
  if (u >= 'a' && u <= 'z') return static_cast<char>(u - 'a' + 'A');
  for (std::size_t i = 0; i < std::size(kPolishLower); ++i)
    if (u == kPolishLower[i]) return static_cast<char>(kPolishUpper[i]);
  return c;
}

bool is_letter_852(char c) {
  const auto u = static_cast<unsigned char>(c);
  if ((u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z')) return true;
  return std::find(std::begin(kPolishLower), std::end(kPolishLower), u) != std::end(kPolishLower) ||
         std::find(std::begin(kPolishUpper), std::end(kPolishUpper), u) != std::end(kPolishUpper);
}

}  // namespace intra
