#pragma once
// The field list a structure function writes, one field per line in the
// table's order:
//
//   FieldList f;
//   f.C("MAG", 1);
//   f.C("NAZWA1", 40, c1);  // [1]
//   f.N("CENA_01", 16, 6);
//   f.D("DATA_INI");
//   return f.fields();
//
// The last argument says whether an optional field is part of the
// structure; a field whose condition is false is simply left out.
#include <string_view>
#include <vector>

#include "storage/table.h"

namespace intra {

class FieldList {
 public:
  void C(std::string_view name, int width, bool present = true) { add(name, 'C', width, 0, present); }
  void N(std::string_view name, int width, int decimals, bool present = true) {
    add(name, 'N', width, decimals, present);
  }
  void D(std::string_view name, bool present = true) { add(name, 'D', 8, 0, present); }
  // Another table's fields, in their order, where this one repeats them.
  void append(const std::vector<FieldSpec>& fields) { fields_.insert(fields_.end(), fields.begin(), fields.end()); }

  const std::vector<FieldSpec>& fields() const { return fields_; }

 private:
  void add(std::string_view name, char type, int width, int decimals, bool present) {
    if (present) fields_.push_back(FieldSpec{std::string(name), type, width, decimals});
  }
  std::vector<FieldSpec> fields_;
};

}  // namespace intra
