#pragma once
// Key expressions evaluated on one record of a table: the current record
// of an open table, or a record inside a block read by a bulk build. Field
// names resolve to the table's fields, for the table's own alias or none.
#include <string>
#include <string_view>

#include "storage/key_expression.h"
#include "storage/table.h"

namespace intra {

class RecordContext final : public ExpressionContext {
 public:
  RecordContext(const std::vector<FieldDescriptor>& fields, std::string alias);

  // Points the context at a record's bytes (deletion flag first) and its number.
  void set_record(std::string_view bytes, std::uint32_t recno) {
    record_ = bytes;
    recno_ = recno;
  }

  int resolve_field(std::string_view alias, std::string_view name) override;
  NumericLayout field_layout(int resolved) override;
  Value field(int resolved) override;
  double record_number() override { return static_cast<double>(recno_); }

 private:
  const std::vector<FieldDescriptor>& fields_;
  std::string alias_;
  std::string_view record_;
  std::uint32_t recno_ = 0;
};

}  // namespace intra
