#pragma once
// A key value typed on the command line, read by the type of the index's
// key so that it encodes to the bytes the index stores:
//   character  the text as given (a shorter text seeks the keys beginning with it)
//   numeric    [-+]digits[.digits], nothing else
//   date       YYYYMMDD or dd.mm.yyyy; empty for the empty date
//   logical    T or F (t f as well)
#include <string>
#include <string_view>

#include "main/value.h"
#include "storage/key_encoding.h"

namespace intra::dbtool {

// False with `problem` ("\"12,5\" is not a number") when the text is not a
// value of that type.
bool parse_key_value(KeyType type, std::string_view text, Value& value, std::string& problem);

}  // namespace intra::dbtool
