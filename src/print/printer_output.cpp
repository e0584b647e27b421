#include "print/printer_output.h"

#include "screen/console.h"

namespace intra {
namespace {
constexpr std::size_t kFlushSize = 1 << 16;
}

bool PrinterOutput::open_file(std::string_view file, FileSystem& fs) {
  close_file();
  file_ = fs.open(file, OpenMode::CreateTruncate);
  written_ = 0;
  failed_ = false;
  return file_ != nullptr;
}

bool PrinterOutput::close_file() {
  if (!file_) return true;
  const bool ok = flush() && !failed_;
  file_.reset();
  pending_.clear();
  return ok;
}

void PrinterOutput::line(std::string_view text) {
  if (screen_ && has_console()) console().out_line(text);
  if (printer_) {
    to_printer("\r\n");
    to_printer(text);
  }
}

void PrinterOutput::text(std::string_view text) {
  if (screen_ && has_console()) console().out(text);
  if (printer_) to_printer(text);
}

void PrinterOutput::to_printer(std::string_view bytes) {
  // Without a file the printer device itself is meant; printing to it
  // goes through the printer routines, so the bytes are dropped here.
  if (!file_) return;
  pending_.append(bytes);
  if (pending_.size() >= kFlushSize) flush();
}

bool PrinterOutput::flush() {
  if (!file_ || pending_.empty()) return true;
  const long long put = file_->write_at(written_, pending_.data(), pending_.size());
  if (put != static_cast<long long>(pending_.size())) failed_ = true;
  if (put > 0) written_ += static_cast<std::uint64_t>(put);
  pending_.clear();
  return !failed_;
}

PrinterOutput& printer_output() {
  static PrinterOutput out;
  return out;
}

ReportRedirection::ReportRedirection(std::string_view file, FileSystem& fs, PrinterOutput& out)
    : out_(out), opened_(out.open_file(file, fs)) {
  out_.set_screen(false);
  out_.set_printer(true);
}

ReportRedirection::~ReportRedirection() {
  out_.close_file();
  out_.set_printer(false);
  out_.set_screen(true);
}

}  // namespace intra
