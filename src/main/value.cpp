#include "main/value.h"

namespace intra {

ValueType Value::type() const {
  switch (data_.index()) {
    case 0: return ValueType::Logical;
    case 1: return ValueType::Number;
    case 2: return ValueType::Text;
    case 3: return ValueType::Date;
    default: return ValueType::List;
  }
}

const std::string& Value::text() const {
  static const std::string empty;
  const auto* s = std::get_if<std::string>(&data_);
  return s ? *s : empty;
}

double Value::number() const {
  const auto* n = std::get_if<double>(&data_);
  return n ? *n : 0.0;
}

bool Value::logical() const {
  const auto* b = std::get_if<bool>(&data_);
  return b ? *b : false;
}

Date Value::date() const {
  const auto* d = std::get_if<Date>(&data_);
  return d ? *d : Date();
}

const ValueList& Value::list() const {
  static const ValueList empty;
  const auto* l = std::get_if<std::shared_ptr<ValueList>>(&data_);
  return l && *l ? **l : empty;
}

ValueList& Value::list_mut() {
  auto* l = std::get_if<std::shared_ptr<ValueList>>(&data_);
  if (!l) {
    data_ = std::make_shared<ValueList>();
    l = std::get_if<std::shared_ptr<ValueList>>(&data_);
  } else if (!*l || l->use_count() > 1) {
    *l = std::make_shared<ValueList>(*l ? **l : ValueList{});
  }
  return **l;
}

char Value::type_letter() const {
  switch (type()) {
    case ValueType::Text: return 'C';
    case ValueType::Number: return 'N';
    case ValueType::Logical: return 'L';
    case ValueType::Date: return 'D';
    case ValueType::List: return 'A';
  }
  return 'U';
}

bool operator==(const Value& a, const Value& b) {
  if (a.type() != b.type()) return false;
  switch (a.type()) {
    case ValueType::Text: return a.text() == b.text();
    case ValueType::Number: return a.number() == b.number();
    case ValueType::Logical: return a.logical() == b.logical();
    case ValueType::Date: return a.date() == b.date();
    case ValueType::List: return a.list() == b.list();
  }
  return false;
}

}  // namespace intra
