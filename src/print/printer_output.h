#pragma once
// The printer output the report routines write their lines to. A report
// writes each line as a line end followed by the text (`line`), or text
// alone (`text`); where the bytes go is set around it: to the screen when
// screen output is on, and to the print file when printer output is on and
// pointed at one. VIEW_DRUK and COPY_TXT point it at their file for the
// time of a report with a ReportRedirection:
//
//   {
//     ReportRedirection to_file("rob\\wydruk01.prn");
//     printer_output().line("Deklaracja ...");
//   }   // file closed, printer output off, screen output on
//
// Bytes go out unchanged (code page 852, escape codes); they are buffered
// and written in large pieces, so a report of hundreds of megabytes costs
// no more than its writes.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "storage/file_system.h"

namespace intra {

class PrinterOutput {
 public:
  // Points printer output at `file`, created or emptied; false (and no
  // file) when it cannot be opened.
  bool open_file(std::string_view file, FileSystem& fs = file_system());
  // Writes what is buffered and closes the file; false when a write failed
  // at any time since the file was opened.
  bool close_file();
  bool has_file() const { return file_ != nullptr; }

  void set_printer(bool on) { printer_ = on; }
  bool printer_on() const { return printer_; }
  void set_screen(bool on) { screen_ = on; }
  bool screen_on() const { return screen_; }

  // A line end, then the text.
  void line(std::string_view text);
  // The text alone.
  void text(std::string_view text);

 private:
  void to_printer(std::string_view bytes);
  bool flush();

  std::unique_ptr<File> file_;
  std::uint64_t written_ = 0;
  std::string pending_;
  bool failed_ = false;
  bool printer_ = false;
  bool screen_ = true;
};

// The printer output of the run.
PrinterOutput& printer_output();

// Screen output off and printer output on into `file` (created or
// emptied) for the life of this object; afterwards the file is closed,
// printer output off and screen output on.
class ReportRedirection {
 public:
  explicit ReportRedirection(std::string_view file, FileSystem& fs = file_system(),
                             PrinterOutput& out = printer_output());
  ~ReportRedirection();
  ReportRedirection(const ReportRedirection&) = delete;
  ReportRedirection& operator=(const ReportRedirection&) = delete;

  bool opened() const { return opened_; }

 private:
  PrinterOutput& out_;
  bool opened_;
};

}  // namespace intra
