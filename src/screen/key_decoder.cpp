#include "screen/key_decoder.h"

#include <array>
#include <vector>

#include "screen/cp852.h"
#include "screen/key_codes.h"

namespace intra {
namespace {

constexpr char32_t kEscapeChar = 0x1B;
constexpr char32_t kDeleteChar = 0x7F;
// Longer than any key sequence; a longer one is not a key and is dropped.
constexpr std::size_t kMaxParams = 16;
// Parameter values above this are not key numbers; capping avoids overflow.
constexpr int kMaxParamValue = 10000;

struct Modifiers {
  bool shift = false, alt = false, ctrl = false;
};

// xterm's modifier parameter: 1 + a bit set of Shift 1, Alt 2, Ctrl 4, Meta 8
// (Meta counts as Alt).
Modifiers from_xterm(int m) {
  Modifiers mods;
  if (m < 2) return mods;
  const int bits = m - 1;
  mods.shift = (bits & 1) != 0;
  mods.alt = (bits & 2) != 0 || (bits & 8) != 0;
  mods.ctrl = (bits & 4) != 0;
  return mods;
}

enum class Nav { Up, Down, Left, Right, Home, End, PgUp, PgDn, Ins, Del };

// A navigation key on the classic keyboard: Shift leaves it as it is; with
// several modifiers Ctrl counts first, then Alt.
int navigation_code(Nav k, Modifiers m) {
  struct Codes {
    int plain, ctrl, alt;
  };
  static constexpr std::array<Codes, 10> codes = {{
      {key::kUp, key::kCtrlUp, key::kAltUp},
      {key::kDown, key::kCtrlDown, key::kAltDown},
      {key::kLeft, key::kCtrlLeft, key::kAltLeft},
      {key::kRight, key::kCtrlRight, key::kAltRight},
      {key::kHome, key::kCtrlHome, key::kAltHome},
      {key::kEnd, key::kCtrlEnd, key::kAltEnd},
      {key::kPgUp, key::kCtrlPgUp, key::kAltPgUp},
      {key::kPgDn, key::kCtrlPgDn, key::kAltPgDn},
      {key::kIns, key::kCtrlIns, key::kAltIns},
      {key::kDel, key::kCtrlDel, key::kAltDel},
  }};
  const Codes& c = codes[static_cast<std::size_t>(k)];
  return m.ctrl ? c.ctrl : m.alt ? c.alt : c.plain;
}

// F1..F12 with the same order of modifiers: Ctrl, Alt, Shift.
int function_code(int n, Modifiers m) {
  return m.ctrl ? key::CtrlF(n) : m.alt ? key::AltF(n) : m.shift ? key::ShiftF(n) : key::F(n);
}

// What the number before '~' names: a navigation key or a function key.
struct TildeKey {
  std::optional<Nav> nav;
  int function = 0;
};

std::optional<TildeKey> tilde_key(int n) {
  switch (n) {
    case 1: case 7: return TildeKey{Nav::Home, 0};
    case 2: return TildeKey{Nav::Ins, 0};
    case 3: return TildeKey{Nav::Del, 0};
    case 4: case 8: return TildeKey{Nav::End, 0};
    case 5: return TildeKey{Nav::PgUp, 0};
    case 6: return TildeKey{Nav::PgDn, 0};
    case 11: case 12: case 13: case 14: case 15: return TildeKey{std::nullopt, n - 10};
    case 17: case 18: case 19: case 20: case 21: return TildeKey{std::nullopt, n - 11};
    case 23: case 24: return TildeKey{std::nullopt, n - 12};
    default: return std::nullopt;
  }
}

std::optional<Nav> arrow(char32_t final_char) {
  switch (final_char) {
    case 'A': case 'a': return Nav::Up;
    case 'B': case 'b': return Nav::Down;
    case 'C': case 'c': return Nav::Right;
    case 'D': case 'd': return Nav::Left;
    case 'H': return Nav::Home;
    case 'F': return Nav::End;
    default: return std::nullopt;
  }
}

// "1;5" -> {1, 5}; an empty field is 0. Nothing when the parameters hold
// anything but digits and ';' (private markers, intermediates) or more than
// two fields (no key sequence has more).
std::optional<std::vector<int>> parse_numbers(const std::string& params) {
  std::vector<int> numbers(1, 0);
  for (char ch : params) {
    if (ch == ';') {
      numbers.push_back(0);
    } else if (ch >= '0' && ch <= '9') {
      int& n = numbers.back();
      n = n >= kMaxParamValue ? kMaxParamValue : n * 10 + (ch - '0');
    } else {
      return std::nullopt;
    }
  }
  if (numbers.size() > 2) return std::nullopt;
  return numbers;
}

bool is_ascii_letter(char32_t c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool is_digit(char32_t c) { return c >= '0' && c <= '9'; }
bool is_parameter_byte(char32_t c) { return c >= 0x20 && c <= 0x3F; }
bool is_final_byte(char32_t c) { return c >= 0x40 && c <= 0x7E; }

}  // namespace

void KeyDecoder::feed(char32_t c) {
  switch (state_) {
    case State::Ground:
      if (c == kEscapeChar) {
        begin_sequence(State::Escape);
        alt_prefix_ = false;
      } else {
        emit_typed(c);
      }
      return;
    case State::Escape: on_escape(c); return;
    case State::Csi: on_csi(c); return;
    case State::Ss3: on_ss3(c); return;
    case State::LinuxFunction: on_linux_function(c); return;
  }
}

std::optional<int> KeyDecoder::next() {
  if (keys_.empty()) return std::nullopt;
  const int k = keys_.front();
  keys_.pop_front();
  return k;
}

void KeyDecoder::flush() {
  const bool alt_prefix = alt_prefix_;
  switch (state_) {
    case State::Ground: return;
    case State::Escape:
      if (alt_prefix) emit(key::kEsc);
      emit(key::kEsc);
      break;
    case State::Csi:
      if (params_.empty() && !overlong_) {
        if (alt_prefix) emit(key::kEsc);
        emit(key::kEsc);
        emit('[');
      }
      break;
    case State::Ss3:
      if (params_.empty() && !overlong_) {
        if (alt_prefix) emit(key::kEsc);
        emit(key::Alt('O'));
      }
      break;
    case State::LinuxFunction: break;
  }
  reset_sequence();
}

void KeyDecoder::clear() {
  reset_sequence();
  keys_.clear();
}

void KeyDecoder::begin_sequence(State s) {
  state_ = s;
  params_.clear();
  overlong_ = false;
}

void KeyDecoder::emit_typed(char32_t c) {
  if (c == kDeleteChar || c == 0x08) {
    emit(key::kBackspace);
  } else if (c >= 1 && c <= 26) {
    emit(static_cast<int>(c));  // Enter, Tab, Ctrl+Enter and the Ctrl letters
  } else if (c < 0x20) {
    // NUL and Ctrl+\ ] ^ _: their values are "no key" and the codes of F1
    // and Ctrl+navigation keys, so they are dropped rather than misread.
  } else if (c < kDeleteChar) {
    emit(static_cast<int>(c));
  } else if (c >= 0xA0) {
    // Only real characters: the glyphs of the control bytes map back to
    // bytes below 0x20, which would read as keys.
    if (const auto byte = unicode_to_cp852(c); byte && *byte >= 0x80) emit(*byte);
  }
  // C1 controls (0x80..0x9F) are not keys.
}

void KeyDecoder::on_escape(char32_t c) {
  if (c == '[') return begin_sequence(State::Csi);
  if (c == 'O') return begin_sequence(State::Ss3);
  if (c == kEscapeChar) {
    // ESC ESC may still be Alt on a sequence; a third ESC settles the first.
    if (alt_prefix_) emit(key::kEsc);
    alt_prefix_ = true;
    return;
  }
  const bool alt_prefix = alt_prefix_;
  reset_sequence();
  if (alt_prefix) emit(key::kEsc);
  if (is_ascii_letter(c)) {
    emit(key::Alt(static_cast<char>(c)));
  } else if (is_digit(c)) {
    emit(key::AltDigit(static_cast<char>(c)));
  } else if (c < 0x20 || c == kDeleteChar) {
    // Esc and a control key (Enter, Tab, Backspace) typed right after it.
    emit(key::kEsc);
    emit_typed(c);
  }
  // Alt with punctuation or a national letter has no classic code: dropped.
}

void KeyDecoder::add_parameter(char32_t c) {
  if (params_.size() < kMaxParams)
    params_.push_back(static_cast<char>(c));
  else
    overlong_ = true;  // a sequence no key sends: dropped whole when it ends
}

void KeyDecoder::on_csi(char32_t c) {
  if (c == '[' && params_.empty() && !overlong_) return begin_sequence(State::LinuxFunction);
  if (c == '$') {  // rxvt's Shift suffix, the only intermediate a key sends
    finish_csi(c);
    return reset_sequence();
  }
  if (is_parameter_byte(c)) return add_parameter(c);
  if (is_final_byte(c)) {
    finish_csi(c);
    return reset_sequence();
  }
  abandon_and_refeed(c);
}

void KeyDecoder::on_ss3(char32_t c) {
  if (c >= 0x30 && c <= 0x3F) return add_parameter(c);  // modifier digits some terminals put here
  if (is_final_byte(c)) {
    finish_ss3(c);
    return reset_sequence();
  }
  if (params_.empty()) {
    // ESC O and then no sequence: that was Alt+O, then the next key.
    const bool alt_prefix = alt_prefix_;
    reset_sequence();
    if (alt_prefix) emit(key::kEsc);
    emit(key::Alt('O'));
    return feed(c);
  }
  abandon_and_refeed(c);
}

void KeyDecoder::on_linux_function(char32_t c) {
  const bool alt_prefix = alt_prefix_;
  reset_sequence();
  if (c >= 'A' && c <= 'E') {
    Modifiers mods;
    mods.alt = alt_prefix;
    emit(function_code(static_cast<int>(c - 'A') + 1, mods));
  } else if (!is_parameter_byte(c) && !is_final_byte(c)) {
    feed(c);
  }
}

void KeyDecoder::abandon_and_refeed(char32_t c) {
  reset_sequence();
  feed(c);
}

void KeyDecoder::finish_csi(char32_t final_char) {
  if (overlong_) return;
  const auto numbers = parse_numbers(params_);
  if (!numbers) return;
  const int first = (*numbers)[0];
  Modifiers mods = numbers->size() == 2 ? from_xterm((*numbers)[1]) : Modifiers{};
  mods.alt = mods.alt || alt_prefix_;

  if (final_char >= 'a' && final_char <= 'd') mods.shift = true;  // rxvt's Shift+arrows
  if (const auto nav = arrow(final_char)) {
    if (first <= 1) emit(navigation_code(*nav, mods));
    return;
  }
  if (final_char >= 'P' && final_char <= 'S') {
    if (first <= 1) emit(function_code(static_cast<int>(final_char - 'P') + 1, mods));
    return;
  }
  if (final_char == 'Z') return emit(key::kShiftTab);
  if (final_char == '~' || final_char == '^' || final_char == '@' || final_char == '$') {
    // rxvt marks modifiers by the final: ^ Ctrl, @ Ctrl+Shift, $ Shift.
    if (final_char == '^' || final_char == '@') mods.ctrl = true;
    if (final_char == '@' || final_char == '$') mods.shift = true;
    const auto k = tilde_key(first);
    if (!k) return;
    emit(k->nav ? navigation_code(*k->nav, mods) : function_code(k->function, mods));
  }
  // Anything else (the keypad centre, mouse, reports, paste brackets) is not a key.
}

void KeyDecoder::finish_ss3(char32_t final_char) {
  if (overlong_) return;
  const auto numbers = parse_numbers(params_);
  if (!numbers) return;
  // ESC O 5 P and ESC O 1;5 P: the last number is the modifier.
  Modifiers mods = params_.empty() ? Modifiers{} : from_xterm(numbers->back());
  mods.alt = mods.alt || alt_prefix_;

  if (final_char >= 'a' && final_char <= 'd') mods.ctrl = true;  // rxvt's Ctrl+arrows
  if (const auto nav = arrow(final_char)) return emit(navigation_code(*nav, mods));
  if (final_char >= 'P' && final_char <= 'S')
    return emit(function_code(static_cast<int>(final_char - 'P') + 1, mods));
  // The numeric keypad in application mode.
  if (final_char == 'M') return emit(key::kEnter);
  if (final_char == 'X') return emit('=');
  if (final_char >= 'j' && final_char <= 'y') {
    static constexpr char keypad[] = "*+,-./0123456789";
    return emit(keypad[final_char - 'j']);
  }
}

}  // namespace intra
