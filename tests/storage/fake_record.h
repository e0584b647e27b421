#pragma once
// A record for key expressions to read: named fields with values and
// numeric layouts, an alias that names the record's own table, fields of
// other aliases, and a record number. Counts field reads so tests can see
// that an expression reads only what it needs.
#include <iomanip>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "storage/key_expression.h"

namespace intra::testing {

// A value as failure messages show it, exact enough that two values show
// the same exactly when they are equal: the type, texts with their bytes
// (others in hex), numbers with every digit. Tests compare these rather than
// the values, so a failure reads as text whatever other tests print.
inline std::string shown(const Value& v) {
  std::ostringstream os;
  switch (v.type()) {
    case ValueType::Text:
      os << '"';
      for (char c : v.text()) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F) os << c;
        else os << "\\x" << "0123456789ABCDEF"[byte >> 4] << "0123456789ABCDEF"[byte & 15];
      }
      os << '"';
      break;
    case ValueType::Number: os << "number " << std::setprecision(17) << v.number(); break;
    case ValueType::Logical: os << (v.logical() ? ".T." : ".F."); break;
    case ValueType::Date: os << "date " << (v.date().empty() ? "empty" : v.date().dtos()); break;
    case ValueType::List: os << "list of " << v.list().size(); break;
  }
  return os.str();
}

class FakeRecord : public ExpressionContext {
 public:
  explicit FakeRecord(std::string own_alias = "") : own_alias_(std::move(own_alias)) {}

  FakeRecord& text(std::string name, std::string value, std::string alias = "") {
    fields_.push_back({std::move(alias), std::move(name), Value(std::move(value)), NumericLayout{}});
    return *this;
  }
  FakeRecord& number(std::string name, double value, int width, int decimals = 0) {
    fields_.push_back({"", std::move(name), Value(value), NumericLayout{width, decimals}});
    return *this;
  }
  FakeRecord& date(std::string name, Date value) {
    fields_.push_back({"", std::move(name), Value(value), NumericLayout{8, 0}});
    return *this;
  }
  FakeRecord& logical(std::string name, bool value) {
    fields_.push_back({"", std::move(name), Value(value), NumericLayout{1, 0}});
    return *this;
  }
  FakeRecord& recno(double n) {
    record_number_ = n;
    return *this;
  }
  // Changes the value of a field already declared.
  void set(std::string_view name, Value value) {
    for (Field& f : fields_)
      if (f.name == name) f.value = std::move(value);
  }
  int reads() const { return reads_; }

  int resolve_field(std::string_view alias, std::string_view name) override {
    const std::string_view wanted_alias = alias == own_alias_ ? std::string_view() : alias;
    for (std::size_t i = 0; i < fields_.size(); ++i)
      if (fields_[i].alias == wanted_alias && fields_[i].name == name) return static_cast<int>(i);
    return -1;
  }
  NumericLayout field_layout(int resolved) override { return fields_[static_cast<std::size_t>(resolved)].layout; }
  Value field(int resolved) override {
    ++reads_;
    return fields_[static_cast<std::size_t>(resolved)].value;
  }
  double record_number() override { return record_number_; }

 private:
  struct Field {
    std::string alias;
    std::string name;
    Value value;
    NumericLayout layout;
  };
  std::string own_alias_;
  std::vector<Field> fields_;
  double record_number_ = 1;
  int reads_ = 0;
};

}  // namespace intra::testing
