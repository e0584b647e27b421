#include "print/text_viewer.h"

#include "print/blank_trim.h"
#include "print/rewind.h"
#include "print/view_line_reader.h"
#include "print/viewer_actions.h"
#include "print/viewer_services.h"
#include "screen/colour.h"
#include "screen/key_codes.h"

namespace intra {
namespace {

constexpr int kStatusRow = 24;
constexpr const char* kStatusKeys = "Keys: ^V<> PgUp PgDn     F5-Druk (Alt_F5)     Esc-Wyjscie";
constexpr std::size_t kStatusNameWidth = 23;

Attribute attribute_of(std::string_view pair) {
  Attribute attr{};
  ColourSetting::parse_pair(pair, attr);
  return attr;
}

}  // namespace

TextViewer::TextViewer(std::string file, Console& con, FileSystem& fs)
    : PLIK_TEKSTOWY(std::move(file)), con_(con), fs_(fs) {}

TextViewer::~TextViewer() = default;

bool TextViewer::open() {
  HANDLE = fs_.open(PLIK_TEKSTOWY, OpenMode::Read);
  if (!HANDLE) return false;
  text_eof_ = HANDLE->size().value_or(0);
  position_ = 0;
  tex1_.fill(0);
  tex2_.fill(std::string(SZEROKOSC_OKNA, ' '));
  wyrown_ = 1;
  l_wyrown_ = -1;
  l_tex1_1_ = -1;
  keypress_ = 0;
  return true;
}

int TextViewer::READTEXT() {
  if (!open()) {
    con_.set_colour("");
    return 0;
  }
  // Whatever ends the view, the screen comes back as it was.
  struct ScreenBack {
    Console& con;
    SavedRegion screen;
    bool cursor;
    ~ScreenBack() {
      con.restore(screen);
      con.show_cursor(cursor);
    }
  } back{con_, con_.save(0, 0, 24, 79), con_.cursor_visible()};
  con_.show_cursor(false);
  draw_status_line();
  con_.set_colour("N/W");
  FILL_ARRAY();
  keypress_ = DISP_ARRAY();
  PROCESS_KEY();
  HANDLE.reset();
  return 0;
}

void TextViewer::draw_status_line() {
  const std::string name = padded(PLIK_TEKSTOWY, kStatusNameWidth);
  con_.say_in("W", kStatusRow, 0, name + kStatusKeys);
  con_.say_in("RG/N", kStatusRow, 0, PLIK_TEKSTOWY.substr(0, kStatusNameWidth));
  con_.say_in("W+", kStatusRow, 29, "\x18\x19\x1b\x1a PgUp PgDn");
  con_.say_in("W+", kStatusRow, 48, "F5");
  con_.say_in("W+", kStatusRow, 69, "Esc");
}

void TextViewer::FILL_ARRAY() {
  int row = 1;
  for (; row <= WYSOKOSC_OKNA && position_ < text_eof_; ++row) {
    tex1_[row] = position_;
    tex2_[row] = read_view_line(*HANDLE, position_, text_eof_);
  }
  for (; row <= WYSOKOSC_OKNA; ++row) {
    tex1_[row] = text_eof_;
    tex2_[row].clear();
  }
}

void TextViewer::paint_row(int row) {
  const std::string& line = tex2_[row];
  const std::size_t from = static_cast<std::size_t>(wyrown_ - 1);
  const std::string shown = from < line.size() ? line.substr(from, SZEROKOSC_OKNA) : std::string();
  static const Attribute text = attribute_of("N/W");
  con_.say(row - 1, 0, padded(shown, SZEROKOSC_OKNA), text);
}

int TextViewer::DISP_ARRAY() {
  if (wyrown_ == l_wyrown_ && static_cast<long long>(tex1_[1]) == l_tex1_1_) {
    keypress_ = con_.poll_key();
    return keypress_;
  }
  // Keys typed before or during the repaint are dropped, all but one
  // typed while the last row is written.
  con_.clear_keyboard();
  while (con_.poll_key() != 0) {
  }
  con_.set_colour("N/W");
  con_.clear_rect(0, 0, WYSOKOSC_OKNA - 1, 79);
  keypress_ = con_.poll_key();
  for (int row = 1; row <= WYSOKOSC_OKNA; ++row) {
    paint_row(row);
    keypress_ = con_.poll_key();
  }
  l_wyrown_ = wyrown_;
  l_tex1_1_ = static_cast<long long>(tex1_[1]);
  ++repaints_;
  return keypress_;
}

void TextViewer::PROCESS_KEY() {
  // The copy dialogs pad it to 50 characters and keep it trimmed.
  PLIK_WYN.clear();
  while (keypress_ != key::kEsc) {
    if (act(keypress_))
      keypress_ = DISP_ARRAY();
    else
      keypress_ = con_.inkey(0);
  }
}

void TextViewer::move_back(long lines) {
  if (tex1_[1] == 0) return;
  position_ = REWIND(*HANDLE, lines, tex1_[1]);
  FILL_ARRAY();
}

void TextViewer::show_from_top_with_repaint() {
  l_tex1_1_ = -1;
  position_ = 0;
  FILL_ARRAY();
}

bool TextViewer::act(int key) {
  switch (key) {
    case key::kUp:
      move_back(1);
      return true;
    case key::kPgUp:
      move_back(WYSOKOSC_OKNA);
      return true;
    case key::kDown:
      if (position_ != text_eof_) {
        position_ = tex1_[2];
        FILL_ARRAY();
      }
      return true;
    case key::kPgDn:
      if (position_ != text_eof_) FILL_ARRAY();
      return true;
    case key::kCtrlPgUp:
      position_ = 0;
      FILL_ARRAY();
      return true;
    case key::kCtrlPgDn: {
      // A last line without a line end is still a line: REWIND starts as
      // if one followed it.
      std::uint64_t end = text_eof_;
      char last[2] = {0, 0};
      if (end >= 2 && HANDLE->read_at(end - 2, last, 2) == 2 && !(last[0] == '\r' && last[1] == '\n')) end += 2;
      if (end == 1) end += 2;
      position_ = REWIND(*HANDLE, WYSOKOSC_OKNA, end);
      FILL_ARRAY();
      return true;
    }
    case key::kRight:
      wyrown_ = wyrown_ < kLastOffset ? wyrown_ + 8 : kLastOffset;
      return true;
    case key::kLeft:
      wyrown_ = wyrown_ > 8 ? wyrown_ - 8 : 1;
      return true;
    case key::kEnd:
      wyrown_ = wyrown_ < 400 ? wyrown_ + 40 : kLastOffset;
      return true;
    case key::kHome:
      wyrown_ = wyrown_ > 40 ? wyrown_ - 40 : 1;
      return true;
    case key::kEnter:
      wyrown_ = 1;
      return true;
    case key::F(5):
      if (print_whole(PLIK_TEKSTOWY)) show_from_top_with_repaint();
      return true;
    case key::AltF(5):
      if (print_part(con_, PLIK_TEKSTOWY)) show_from_top_with_repaint();
      return true;
    case key::CtrlF(5):
      if (print_after_blank_lines(con_, PLIK_TEKSTOWY)) show_from_top_with_repaint();
      return true;
    case key::kAltK:
      if (viewer_services().kalk) viewer_services().kalk();
      return true;
    case key::kAltP:
      request_pdf(con_, PLIK_TEKSTOWY, fs_);
      return true;
    case key::kAltE:
      mail_file(con_, PLIK_TEKSTOWY, fs_);
      return true;
    case key::kAltW:
      copy_and_edit(PLIK_TEKSTOWY, fs_);
      return true;
    case key::kAltT:
      copy_to_text(con_, PLIK_TEKSTOWY, PLIK_WYN, fs_);
      return true;
    case key::kAltB:
      copy_table(con_, PLIK_WYN);
      return true;
    default:
      return false;
  }
}

int READTEXT(const std::string& file) {
  TextViewer viewer(file);
  return viewer.READTEXT();
}

}  // namespace intra
