#pragma once
// Turns what a terminal sends when a key is pressed into the classic PC key
// codes of screen/key_codes.h. Input is Unicode code points as they come from
// the terminal, escape sequences raw: CSI and SS3 sequences with xterm
// modifiers, the Linux console's function keys, rxvt's variants, ESC before a
// key for Alt. Typed characters become their code page 852 byte.
//
// Pure: no terminal, no clock. A lone ESC cannot be told from the start of a
// sequence until some time has passed without more input; the caller decides
// that and calls flush().
//
// Invariant: whatever is fed, only valid key codes come out, and anything
// not understood (unknown, malformed or overlong sequences, characters the
// code page lacks) is consumed without a trace. Memory stays bounded.
#include <cstdint>
#include <deque>
#include <optional>
#include <string>

namespace intra {

class KeyDecoder {
 public:
  void feed(char32_t c);
  // The next decoded key, in the order typed.
  std::optional<int> next();
  // An escape sequence has begun and is not complete yet.
  bool pending() const { return state_ != State::Ground; }
  // No more input followed: a lone ESC is the Esc key, ESC O is Alt+O, ESC [
  // is Esc and '['; a sequence cut off in its parameters is dropped.
  void flush();
  // Forgets buffered input and keys not taken yet.
  void clear();

 private:
  enum class State { Ground, Escape, Csi, Ss3, LinuxFunction };

  void emit(int key) { keys_.push_back(key); }
  void emit_typed(char32_t c);
  void on_escape(char32_t c);
  void add_parameter(char32_t c);
  void on_csi(char32_t c);
  void on_ss3(char32_t c);
  void on_linux_function(char32_t c);
  void finish_csi(char32_t final_char);
  void finish_ss3(char32_t final_char);
  // Leaves a broken sequence and decodes `c` as fresh input.
  void abandon_and_refeed(char32_t c);
  void begin_sequence(State s);
  void reset_sequence() { state_ = State::Ground; }

  State state_ = State::Ground;
  // A second ESC came before the sequence: Alt on the key that follows.
  bool alt_prefix_ = false;
  // Parameter and intermediate bytes of the sequence, capped in length.
  std::string params_;
  bool overlong_ = false;
  std::deque<int> keys_;
};

}  // namespace intra
