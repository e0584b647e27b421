#pragma once
// READTEXT: the full-screen, read-only view of a print file. The window is
// rows 0 to 23 and 80 columns; row 24 is the status line. The file is never
// read whole: each window is read line by line from its first line's
// offset, and moving back goes through REWIND, so every key costs the same
// in a file of any size.
//
//   TextViewer viewer("rob\\wydruk01.prn");
//   viewer.READTEXT();   // until Esc
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "screen/console.h"
#include "storage/file_system.h"

namespace intra {

inline constexpr int WYSOKOSC_OKNA = 24;
inline constexpr int SZEROKOSC_OKNA = 80;
inline constexpr int kLastOffset = 750;  // Right and End stop here, or at 753 from 745

class TextViewer {
 public:
  explicit TextViewer(std::string file, Console& con = console(), FileSystem& fs = file_system());
  ~TextViewer();
  TextViewer(const TextViewer&) = delete;
  TextViewer& operator=(const TextViewer&) = delete;

  // The whole viewer: opens the file (doing nothing when it cannot),
  // shows it until Esc, restores the screen and closes it. Returns 0.
  int READTEXT();

  // Its steps, on the open file.
  void FILL_ARRAY();
  int DISP_ARRAY();
  void PROCESS_KEY();

  // The window, rows 1 to 24: each row's file offset and line.
  std::uint64_t TEX1(int row) const { return tex1_[row]; }
  const std::string& TEX2(int row) const { return tex2_[row]; }
  int WYROWN() const { return wyrown_; }
  std::uint64_t TEXT_EOF() const { return text_eof_; }
  int repaints() const { return repaints_; }

 private:
  bool open();
  void draw_status_line();
  // Acts on a key of the table; false for any other key.
  bool act(int key);
  void move_back(long lines);
  void show_from_top_with_repaint();
  void paint_row(int row);

  std::string PLIK_TEKSTOWY;
  Console& con_;
  FileSystem& fs_;
  std::unique_ptr<File> HANDLE;
  std::uint64_t text_eof_ = 0;
  std::uint64_t position_ = 0;
  std::array<std::uint64_t, WYSOKOSC_OKNA + 1> tex1_{};  // [0] unused
  std::array<std::string, WYSOKOSC_OKNA + 1> tex2_{};
  int wyrown_ = 1;
  int l_wyrown_ = -1;
  long long l_tex1_1_ = -1;
  int keypress_ = 0;
  std::string PLIK_WYN;
  int repaints_ = 0;
};

// READTEXT(file) of the system.
int READTEXT(const std::string& file);

}  // namespace intra
