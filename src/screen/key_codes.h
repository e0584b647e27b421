#pragma once
// The classic PC key codes every routine of the system compares keys with.
// Characters arrive as their code page 852 byte (32..255); the rest are the
// codes below. Ctrl+letter gives 1..26, which is why Ctrl+S equals Left and
// Ctrl+C equals PgDn, exactly as on the original keyboard handling.
namespace intra::key {

inline constexpr int kNone = 0;
inline constexpr int kEnter = 13;
inline constexpr int kEsc = 27;
inline constexpr int kBackspace = 8;
inline constexpr int kTab = 9;
inline constexpr int kShiftTab = 271;
inline constexpr int kCtrlEnter = 10;
inline constexpr int kUp = 5;
inline constexpr int kDown = 24;
inline constexpr int kLeft = 19;
inline constexpr int kRight = 4;
inline constexpr int kHome = 1;
inline constexpr int kEnd = 6;
inline constexpr int kPgUp = 18;
inline constexpr int kPgDn = 3;
inline constexpr int kCtrlLeft = 26;
inline constexpr int kCtrlRight = 2;
inline constexpr int kCtrlUp = 397;
inline constexpr int kCtrlDown = 401;
inline constexpr int kCtrlHome = 29;
inline constexpr int kCtrlEnd = 23;
inline constexpr int kCtrlPgUp = 31;
inline constexpr int kCtrlPgDn = 30;
inline constexpr int kIns = 22;
inline constexpr int kDel = 7;
inline constexpr int kCtrlN = 14;
inline constexpr int kCtrlY = 25;
inline constexpr int kCtrlW = 23;  // the same code as Ctrl+End

inline constexpr int kF1 = 28;
// F2..F10 are -1..-9: F(n) = 1 - n for n in 2..10.
constexpr int F(int n) { return n == 1 ? kF1 : n <= 10 ? 1 - n : n == 11 ? -40 : -41; }
// Shift+F1..F10 are -10..-19, Ctrl+F1..F10 -20..-29, Alt+F1..F10 -30..-39;
// F11 and F12 come after them: Shift -42 -43, Ctrl -44 -45, Alt -46 -47.
constexpr int ShiftF(int n) { return n <= 10 ? -9 - n : -31 - n; }
constexpr int CtrlF(int n) { return n <= 10 ? -19 - n : -33 - n; }
constexpr int AltF(int n) { return n <= 10 ? -29 - n : -35 - n; }

// Ins and Del with Ctrl, and the navigation keys with Alt: 256 plus the
// extended scan code, like the Alt letters below. Shift leaves a navigation
// key as it is.
inline constexpr int kCtrlIns = 402;
inline constexpr int kCtrlDel = 403;
inline constexpr int kAltHome = 407;
inline constexpr int kAltUp = 408;
inline constexpr int kAltPgUp = 409;
inline constexpr int kAltLeft = 411;
inline constexpr int kAltRight = 413;
inline constexpr int kAltEnd = 415;
inline constexpr int kAltDown = 416;
inline constexpr int kAltPgDn = 417;
inline constexpr int kAltIns = 418;
inline constexpr int kAltDel = 419;

// Alt+letter: 256 plus the letter key's scan code (Alt+K 293, Alt+P 281).
constexpr int Alt(char letter) {
  constexpr int scan[26] = {30, 48, 46, 32, 18, 33, 34, 35, 23, 36, 37, 38, 50,
                            49, 24, 25, 16, 19, 31, 20, 22, 47, 17, 45, 21, 44};
  const char c = letter >= 'a' && letter <= 'z' ? static_cast<char>(letter - 'a' + 'A') : letter;
  return c >= 'A' && c <= 'Z' ? 256 + scan[c - 'A'] : 0;
}
// Alt+digit: Alt+1..Alt+9 are 376..384, Alt+0 is 385.
constexpr int AltDigit(char digit) { return digit == '0' ? 385 : 375 + (digit - '0'); }

inline constexpr int kAltK = Alt('K');  // 293, the calculator
inline constexpr int kAltP = Alt('P');  // 281
inline constexpr int kAltE = Alt('E');  // 274
inline constexpr int kAltW = Alt('W');  // 273
inline constexpr int kAltT = Alt('T');  // 276
inline constexpr int kAltB = Alt('B');  // 304

}  // namespace intra::key
