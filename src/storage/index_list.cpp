#include "storage/index_list.h"

#include <algorithm>
#include <cstdio>

#include "storage/field_codec.h"

namespace intra {
namespace {

constexpr std::uint32_t kBlockBytes = 65535;  // bulk builds read whole records in blocks up to this size

}  // namespace

IndexList::IndexList(Table& table, std::string alias)
    : table_(table), alias_(std::move(alias)), context_(table.fields(), alias_) {
  table_.set_observer(this);
}

IndexList::~IndexList() {
  close_all();
  table_.set_observer(nullptr);
}

bool IndexList::fail(const TableError& e) {
  error_ = e;
  return false;
}

bool IndexList::fail(TableErrorKind kind, std::string_view file, std::string detail) {
  return fail(TableError::make(kind, std::string(file), std::move(detail)));
}

bool IndexList::point_at_current() {
  std::string_view bytes;
  const bool ok = table_.record_bytes(bytes);
  context_.set_record(bytes, table_.recno());
  return ok;
}

Value IndexList::evaluate(const KeyExpression& expression) { return expression.evaluate(context_); }

bool IndexList::compile(Entry& e, const std::string& key_text, const std::string& condition_text,
                        std::string_view file) {
  std::string problem;
  e.key = KeyExpression::compile(key_text, context_, problem);
  if (!e.key) return fail(TableErrorKind::Corruption, file, problem);
  if (!condition_text.empty()) {
    e.condition = KeyExpression::compile(condition_text, context_, problem);
    if (!e.condition) return fail(TableErrorKind::Corruption, file, problem);
  }
  return true;
}

bool IndexList::add(std::string_view index_name) {
  error_ = TableError();
  Entry e;
  e.file = NtxIndex::open(table_.files(), index_name, table_.shared(), table_.read_only(), error_);
  if (!e.file) return false;
  const NtxDefinition& d = e.file->definition();
  if (!compile(e, d.key_expression, d.condition, e.file->file_name())) return false;
  // The key's type comes from its value on the current record; its size
  // and decimals are the file's.
  point_at_current();
  const Value v = evaluate(*e.key);
  const KeyType type = v.is_number() ? KeyType::Numeric
                       : v.is_date() ? KeyType::Date
                       : v.is_logical() ? KeyType::Logical
                                        : KeyType::Character;
  e.shape = KeyShape{type, e.file->key_size(), d.key_decimals};
  if (e.file->extended_locks()) table_.set_lock_layout(LockLayout::extended());
  entries_.push_back(std::move(e));
  return true;
}

KeySource IndexList::bulk_source(Entry& e) {
  // Reads whole records in blocks; a failed read ends the build with the
  // table's error kept for the caller.
  struct State {
    std::string block;
    std::size_t at = 0;
    std::uint32_t next = 1, first_in_block = 1;
    std::uint32_t count = 0;
  };
  auto state = std::make_shared<State>();
  state->count = table_.record_count();
  const auto record_length = static_cast<std::uint32_t>(table_.record_length());
  const std::uint32_t per_block = std::max<std::uint32_t>(1, kBlockBytes / record_length);
  return [this, &e, state, record_length, per_block](KeyEntry& out) {
    for (;;) {
      if (state->next > state->count) return false;
      const std::size_t index_in_block = state->next - state->first_in_block;
      if (state->block.empty() || (index_in_block + 1) * record_length > state->block.size()) {
        state->first_in_block = state->next;
        const std::uint32_t n = std::min(per_block, state->count - state->next + 1);
        if (!table_.read_records(state->next, n, state->block) || state->block.empty()) {
          error_ = table_.error();
          state->count = 0;
          return false;
        }
        continue;
      }
      const std::uint32_t recno = state->next++;
      context_.set_record(std::string_view(state->block).substr(index_in_block * record_length, record_length),
                          recno);
      if (e.condition && !evaluate(*e.condition).logical()) continue;
      // The build hands the same pair back for every record: the key is
      // written into its buffer, with no string made per record.
      out.key.resize(static_cast<std::size_t>(std::max(e.shape.size, 0)));
      encode_key_into(evaluate(*e.key), e.shape, out.key.data());
      out.recno = recno;
      return true;
    }
  };
}

bool IndexList::create(std::string_view index_name, std::string_view key_text, bool unique) {
  error_ = TableError();
  if (!table_.flush_record()) return fail(table_.error());
  clear();
  Entry e;
  const std::string file_name = NtxIndex::index_file_name(index_name);
  if (!compile(e, std::string(key_text), "", file_name)) {
    error_.kind = TableErrorKind::IndexCreateError;
    return false;
  }
  // The key's type and size come from its value on a blank record.
  std::string blank(static_cast<std::size_t>(table_.record_length()), ' ');
  for (const FieldDescriptor& f : table_.fields()) blank_field(f, blank.data() + f.offset);
  context_.set_record(blank, table_.record_count() + 1);
  const Value blank_value = evaluate(*e.key);
  const NumericLayout layout = e.key->numeric_layout();
  const auto shape = key_shape_of(blank_value, layout.width, layout.decimals);
  if (!shape) {
    const bool width = key_shape_fault(blank_value, layout.width) == KeyShapeFault::DataWidth;
    return fail(width ? TableErrorKind::KeyDataWidth : TableErrorKind::KeyDataType, file_name,
                "key " + std::string(key_text));
  }
  e.shape = *shape;
  NtxDefinition d;
  d.key_expression = std::string(key_text);
  d.key_size = shape->size;
  d.key_decimals = shape->decimals;
  d.unique = unique;
  d.extended_locks = table_.lock_layout().base == LockLayout::extended().base;
  e.file = NtxIndex::create(table_.files(), file_name, d, bulk_source(e), table_.shared(), error_);
  if (!e.file) return false;
  if (error_) return false;  // the table could not be read
  entries_.push_back(std::move(e));
  return true;
}

void IndexList::clear() {
  close_all();
  entries_.clear();
}

bool IndexList::close_all() {
  bool ok = true;
  for (Entry& e : entries_)
    if (e.file && !e.file->close()) ok = fail(e.file->error());
  return ok;
}

std::string IndexList::current_key(std::size_t i) {
  point_at_current();
  return encode_key(evaluate(*entries_[i].key), entries_[i].shape);
}

bool IndexList::current_passes(std::size_t i) {
  if (!entries_[i].condition) return true;
  point_at_current();
  return evaluate(*entries_[i].condition).logical();
}

std::string IndexList::search_key(std::size_t i, const Value& value) const {
  return encode_search_key(value, entries_[i].shape);
}

void IndexList::before_first_change(Table&) {
  point_at_current();
  for (Entry& e : entries_) {
    const bool passes = !e.condition || evaluate(*e.condition).logical();
    e.old_key = passes ? std::optional<std::string>(encode_key(evaluate(*e.key), e.shape)) : std::nullopt;
    e.old_saved = true;
  }
}

bool IndexList::record_written(Table&, std::uint32_t recno, bool appended) {
  point_at_current();
  bool ok = true;
  for (Entry& e : entries_) {
    const bool passes = !e.condition || evaluate(*e.condition).logical();
    std::optional<std::string> new_key;
    if (passes) new_key = encode_key(evaluate(*e.key), e.shape);
    std::optional<std::string> old_key = appended ? std::nullopt : e.old_key;
    const bool had_old = !appended && e.old_saved;
    e.old_saved = false;
    e.old_key.reset();
    if (!appended && (!had_old || old_key == new_key)) continue;  // nothing moved
    bool old_missing = false;
    if (!e.file->update(old_key, new_key, recno, old_missing)) {
      ok = fail(e.file->error());
      continue;
    }
    if (old_missing) {
      char text[80];
      std::snprintf(text, sizeof text, "\n\rntxGoCold: Cannot find current key. %ld", static_cast<long>(recno));
      if (sink_)
        sink_(text);
      else
        std::fputs(text, stderr);
    }
  }
  return ok;
}

bool IndexList::rebuild_all() {
  bool ok = true;
  for (Entry& e : entries_)
    if (!e.file->rebuild(bulk_source(e))) ok = fail(e.file->error());
  return ok;
}

bool IndexList::zap_all() {
  bool ok = true;
  for (Entry& e : entries_)
    if (!e.file->zap()) ok = fail(e.file->error());
  return ok;
}

bool IndexList::table_rewritten(Table& table) {
  return table.record_count() == 0 ? zap_all() : rebuild_all();
}

}  // namespace intra
