#include "storage/dbtool/text_encoding.h"

#include "screen/cp852.h"

namespace intra::dbtool {

bool CsvTextEncoding::to_table(std::string_view csv, std::string& table) const {
  if (!utf8_) {
    table.assign(csv);
    return true;
  }
  table = utf8_to_cp852(csv);
  // Every code page 852 byte has exactly one UTF-8 form, so the text is
  // convertible exactly when it survives the way back unchanged.
  return cp852_to_utf8(table) == csv;
}

std::string CsvTextEncoding::to_csv(std::string_view table) const {
  return utf8_ ? cp852_to_utf8(table) : std::string(table);
}

}  // namespace intra::dbtool
