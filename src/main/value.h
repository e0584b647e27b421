#pragma once
// The value a public variable, a form field or a table field holds: text
// (code page 852 bytes, length kept), number, logical, date or list.
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "main/date.h"

namespace intra {

enum class ValueType { Text, Number, Logical, Date, List };

class Value;
using ValueList = std::vector<Value>;

class Value {
 public:
  Value() : data_(false) {}  // logical false: what a declared, unassigned variable holds
  Value(bool b) : data_(b) {}
  Value(double n) : data_(n) {}
  Value(int n) : data_(static_cast<double>(n)) {}
  Value(long n) : data_(static_cast<double>(n)) {}
  Value(std::string s) : data_(std::move(s)) {}
  Value(std::string_view s) : data_(std::string(s)) {}
  Value(const char* s) : data_(std::string(s)) {}
  Value(Date d) : data_(d) {}
  Value(ValueList list) : data_(std::make_shared<ValueList>(std::move(list))) {}

  static Value blanks(std::size_t count) { return Value(std::string(count, ' ')); }

  ValueType type() const;
  bool is_text() const { return type() == ValueType::Text; }
  bool is_number() const { return type() == ValueType::Number; }
  bool is_logical() const { return type() == ValueType::Logical; }
  bool is_date() const { return type() == ValueType::Date; }
  bool is_list() const { return type() == ValueType::List; }

  // Typed access; asking for the wrong type gives the type's empty value
  // ("" / 0 / false / empty date / empty list) rather than failing, so a
  // variable that was declared but never assigned reads as empty.
  const std::string& text() const;
  double number() const;
  bool logical() const;
  Date date() const;
  const ValueList& list() const;
  ValueList& list_mut();  // list values are shared until written; this copies on write

  // One-letter type code of the classic TYPE()/VALTYPE(): C N L D A.
  char type_letter() const;

  friend bool operator==(const Value& a, const Value& b);

 private:
  std::variant<bool, double, std::string, Date, std::shared_ptr<ValueList>> data_;
};

}  // namespace intra
