#include "print/text_copies.h"

#include <memory>
#include <string>
#include <vector>

#include "main/ascii_case.h"
#include "print/printer_output.h"
#include "print/view_line_reader.h"

namespace intra {
namespace {

constexpr std::size_t kCopyChunk = 1 << 16;

// Every line of an open file in turn, in the viewer's pieces.
class SourceLines {
 public:
  explicit SourceLines(File& file) : file_(file), size_(file.size().value_or(0)) {}
  bool next(std::string& line) {
    if (position_ >= size_) return false;
    line = read_view_line(file_, position_, size_);
    return true;
  }

 private:
  File& file_;
  std::uint64_t size_;
  std::uint64_t position_ = 0;
};

// Whether `line` begins with `text`, blanks in front of the line and case
// left out (`text` is already in capitals).
bool line_begins_with(const std::string& line, std::string_view text) {
  const std::size_t first = line.find_first_not_of(' ');
  const std::string rest = upper_ascii(first == std::string::npos ? std::string_view{} : std::string_view(line).substr(first));
  return std::string_view(rest).substr(0, text.size()) == text;
}

}  // namespace

bool KOP_TXT(std::string_view source, std::string_view target, FileSystem& fs) {
  const std::unique_ptr<File> in = fs.open(source, OpenMode::Read);
  if (!in) return false;
  const std::unique_ptr<File> out = fs.open(target, OpenMode::CreateTruncate);
  if (!out) return false;
  std::vector<char> buffer(kCopyChunk);
  std::uint64_t at = 0;
  char last[2] = {'\r', '\n'};  // an empty source needs no line end
  for (;;) {
    const long long got = in->read_at(at, buffer.data(), buffer.size());
    if (got < 0) return false;
    if (got == 0) break;
    if (out->write_at(at, buffer.data(), static_cast<std::size_t>(got)) != got) return false;
    if (got >= 2) {
      last[0] = buffer[static_cast<std::size_t>(got) - 2];
      last[1] = buffer[static_cast<std::size_t>(got) - 1];
    } else {
      last[0] = last[1];
      last[1] = buffer[0];
    }
    at += static_cast<std::uint64_t>(got);
  }
  if (at > 0 && !(last[0] == '\r' && last[1] == '\n')) {
    if (out->write_at(at, "\r\n", 2) != 2) return false;
  }
  return true;
}

bool TWORZ_TXT(std::string_view text, std::string_view file, FileSystem& fs) {
  const std::unique_ptr<File> out = fs.open(file, OpenMode::CreateTruncate);
  if (!out) return false;
  const std::string bytes = std::string(text) + "\r\n";
  return out->write_at(0, bytes.data(), bytes.size()) == static_cast<long long>(bytes.size());
}

bool COPY_TXT(std::string_view source, std::string_view target, int blank_lines, FileSystem& fs) {
  const std::unique_ptr<File> in = fs.open(source, OpenMode::Read);
  if (!in) return false;
  ReportRedirection to_target(target, fs);
  if (!to_target.opened()) return false;
  PrinterOutput& out = printer_output();
  out.text(kCondensedPrint);
  for (int i = 0; i < blank_lines; ++i) out.text("\r\n");
  SourceLines lines(*in);
  std::string line;
  while (lines.next(line)) {
    out.text(line);
    out.text("\r\n");
  }
  out.text("\r\n");
  return out.close_file();
}

bool COPY_TXT(std::string_view source, std::string_view target, std::string_view from_text,
              std::string_view to_text, FileSystem& fs) {
  const std::unique_ptr<File> in = fs.open(source, OpenMode::Read);
  if (!in) return false;
  ReportRedirection to_target(target, fs);
  if (!to_target.opened()) return false;
  PrinterOutput& out = printer_output();
  const std::string from = upper_ascii(from_text);
  const std::string to = upper_ascii(to_text);
  SourceLines lines(*in);
  std::string line;
  bool started = false;
  while (lines.next(line)) {
    if (!started) {
      if (!line_begins_with(line, from)) continue;
      started = true;
      out.text(kCondensedPrint);
      out.text(line);
      out.text("\r\n");
      continue;
    }
    out.text(line);
    out.text("\r\n");
    if (!to.empty() && line_begins_with(line, to)) break;
  }
  out.text("\r\n");
  return out.close_file();
}

}  // namespace intra
