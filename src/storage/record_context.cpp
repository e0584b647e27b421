#include "storage/record_context.h"

#include "storage/field_codec.h"

namespace intra {

RecordContext::RecordContext(const std::vector<FieldDescriptor>& fields, std::string alias)
    : fields_(fields), alias_(std::move(alias)) {
  for (char& c : alias_)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
}

int RecordContext::resolve_field(std::string_view alias, std::string_view name) {
  if (!alias.empty() && alias != alias_) return -1;
  for (std::size_t i = 0; i < fields_.size(); ++i)
    if (fields_[i].name == name) return static_cast<int>(i);
  return -1;
}

NumericLayout RecordContext::field_layout(int resolved) {
  const FieldDescriptor& f = fields_[static_cast<std::size_t>(resolved)];
  return NumericLayout{f.width, f.decimals};
}

Value RecordContext::field(int resolved) {
  const FieldDescriptor& f = fields_[static_cast<std::size_t>(resolved)];
  const auto offset = static_cast<std::size_t>(f.offset), width = static_cast<std::size_t>(f.width);
  if (record_.size() < offset + width) {
    // A record cut short reads as blank, as the phantom record does.
    std::string blank(width, ' ');
    blank_field(f, blank.data());
    return decode_field(f, blank);
  }
  return decode_field(f, record_.substr(offset, width));
}

}  // namespace intra
