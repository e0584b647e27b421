#include "storage/dbtool/csv.h"

namespace intra::dbtool {
namespace {

constexpr int kEnd = std::char_traits<char>::eof();

}  // namespace

bool CsvReader::fail(std::string problem) {
  problem_ = std::move(problem);
  return false;
}

bool CsvReader::read_quoted(std::string& value) {
  for (;;) {
    const int c = in_.sbumpc();
    if (c == kEnd) return fail("a quoted value is not closed before the end of the file");
    if (c == '\n') ++line_;
    if (c != '"') {
      value += static_cast<char>(c);
      continue;
    }
    if (in_.sgetc() != '"') return true;
    in_.sbumpc();
    value += '"';
  }
}

bool CsvReader::next(std::vector<std::string>& values) {
  values.clear();
  problem_.clear();
  // Skip empty lines: LF or CR LF with nothing before them. A CR not
  // followed by LF is data and starts the record.
  std::string value;
  for (;;) {
    const int c = in_.sgetc();
    if (c == '\n') {
      in_.sbumpc();
      ++line_;
      continue;
    }
    if (c == '\r') {
      if (in_.snextc() == '\n') {
        in_.sbumpc();
        ++line_;
        continue;
      }
      value += '\r';
    }
    break;
  }
  record_line_ = line_;
  if (value.empty() && in_.sgetc() == kEnd) return false;

  bool after_quote = false;  // the current value was quoted and its closing quote read
  for (;;) {
    const int c = in_.sbumpc();
    const bool line_end = c == kEnd || c == '\n' || (c == '\r' && in_.sgetc() == '\n');
    if (line_end || c == ',') {
      values.push_back(std::move(value));
      value.clear();
      after_quote = false;
      if (c == ',') continue;
      if (c == '\r') in_.sbumpc();
      if (c != kEnd) ++line_;
      return true;
    }
    if (after_quote) return fail("text after the closing quote of a value");
    if (c == '"') {
      if (!value.empty()) return fail("a quote inside a value that does not start with one");
      if (!read_quoted(value)) return false;
      after_quote = true;
      continue;
    }
    value += static_cast<char>(c);
  }
}

bool CsvWriter::needs_quotes(std::string_view value) {
  if (value.find_first_of(",\"\r\n") != std::string_view::npos) return true;
  return !value.empty() && (value.front() == ' ' || value.back() == ' ');
}

void CsvWriter::write(const std::vector<std::string>& values) {
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (i > 0) out_ << ',';
    const std::string& value = values[i];
    if (!needs_quotes(value) && !(values.size() == 1 && value.empty())) {
      out_ << value;
      continue;
    }
    out_ << '"';
    for (char c : value) {
      if (c == '"') out_ << '"';
      out_ << c;
    }
    out_ << '"';
  }
  out_ << '\n';
}

}  // namespace intra::dbtool
