#pragma once
// The character set of CSV text. Tables hold code page 852; a CSV file is
// either the same bytes or, with --utf8, UTF-8.
#include <string>
#include <string_view>

namespace intra::dbtool {

class CsvTextEncoding {
 public:
  explicit CsvTextEncoding(bool utf8) : utf8_(utf8) {}

  // CSV text as table bytes. False when the text is not UTF-8 or holds a
  // character code page 852 lacks: the tool refuses rather than store a
  // replacement character in the table.
  bool to_table(std::string_view csv, std::string& table) const;
  std::string to_csv(std::string_view table) const;

 private:
  bool utf8_;
};

}  // namespace intra::dbtool
