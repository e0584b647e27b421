#pragma once
// Comma-separated values as RFC 4180 has them: a record per line, values
// separated by commas, a value quoted with '"' when it holds a comma, a
// quote (written twice), CR or LF. Lines end with LF or CR LF.
//
// Bytes pass unchanged in both directions: the reader and writer know
// nothing of character sets.
#include <istream>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace intra::dbtool {

class CsvReader {
 public:
  explicit CsvReader(std::istream& in) : in_(*in.rdbuf()) {}

  // Reads the next record. False at the end of the input, and on malformed
  // input, when problem() says what is wrong. Empty lines are no records
  // (a record of one empty value is written `""`).
  bool next(std::vector<std::string>& values);
  // The line on which the record last read (or the malformed one) starts, from 1.
  int record_line() const { return record_line_; }
  const std::string& problem() const { return problem_; }

 private:
  bool fail(std::string problem);
  // Reads the rest of a quoted value, the opening quote consumed.
  bool read_quoted(std::string& value);

  std::streambuf& in_;
  int line_ = 1;          // line of the next unread byte
  int record_line_ = 0;
  std::string problem_;
};

class CsvWriter {
 public:
  explicit CsvWriter(std::ostream& out) : out_(out) {}
  // One record, ending with LF. A value is quoted when it holds a comma, a
  // quote, CR or LF, or starts or ends with a blank; a record of a single
  // empty value is written `""` so that it is not an empty line.
  void write(const std::vector<std::string>& values);

  static bool needs_quotes(std::string_view value);

 private:
  std::ostream& out_;
};

}  // namespace intra::dbtool
